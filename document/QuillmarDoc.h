// CQuillmarDoc: the single rate document. It owns the loaded rate file as a
// node tree, creates, opens and saves it (with the compression and backup
// options), merges a newly delivered rate file into it, and prints it. It
// keeps its views and tells them of every change. The document knows no
// windowing toolkit: everything it needs of the platform goes through
// CPlatform, so the desktop application, the command-line tool and the tests
// share one implementation of the document's life cycle.
#pragma once

#include "document/Date.h"
#include "document/PlanIndex.h"
#include "document/PlanMerge.h"
#include "document/PlanValues.h"
#include "document/RecentFileList.h"
#include "document/UpdateHint.h"
#include "xml/XmlDocument.h"
#include "xml/XmlNode.h"
#include "xml/XmlString.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CCmdUI;
class CFileLayer;
class CCustomerIndex;
class CMergeObserver;
class CPlatform;
class CPrintDevice;
class CView;
class CXmlTextSink;
enum class MsgAnswer;
enum class MsgButtons;
enum class MsgIcon;

class CQuillmarDoc {
public:
    // Reads the two options from the settings and the recent-file list. The
    // document holds no tree until DoNew or DoOpen.
    explicit CQuillmarDoc(CPlatform& platform);
    CQuillmarDoc(const CQuillmarDoc&) = delete;
    CQuillmarDoc& operator=(const CQuillmarDoc&) = delete;
    ~CQuillmarDoc();

    // ---- Views -----------------------------------------------------------
    void AddView(CView& view);
    void RemoveView(CView& view);
    // OnUpdate of every view of the document except sender.
    void UpdateAllViews(CView* sender, CUpdateHint hint);
    // OnInitialUpdate of every view; part of every New and Open.
    void SendInitialUpdate();

    // ---- Document state --------------------------------------------------
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    // The path the document was last opened from or saved to; empty for a
    // new document.
    const std::string& GetPathName() const { return m_strPathName; }
    // "Untitled" for a new document, otherwise the file's name.
    std::string GetTitle() const;
    // The main window's title: the document's title, " - ", "Quillmar".
    std::string GetFrameTitle() const;
    CRecentFileList& GetRecentFileList() { return m_recentFiles; }
    const CRecentFileList& GetRecentFileList() const { return m_recentFiles; }
    // The reader's error code of the last load (0 when it read cleanly, and
    // when the document has not loaded a file).
    int32_t GetLoadError() const { return m_xmlDoc.GetError(); }
    // The byte offset into the file text where the reader stopped at that
    // error, or -1 when it does not know.
    int32_t GetLoadErrorOffset() const { return m_xmlDoc.GetErrorOffset(); }
    // The bytes of the file last loaded, as the reader saw them (empty when
    // it could not be read). New keeps them; a front end that needs the
    // file's character set looks at them after an Open.
    const CXmlString& GetFileText() const { return m_xmlDoc.GetFileText(); }

    // ---- Life cycle: what a front end's File commands call ---------------
    // Each returns true when it was carried out, false when the user
    // cancelled or it failed (the failure has been reported).
    bool DoNew();
    // Chooses a file with the platform's open dialog, then DoOpen.
    bool OnFileOpen();
    // Asks to save changes, then opens path. A file that can be opened counts
    // as opened even when its content could not be read; a file of 0 bytes
    // is opened without reading, and the document keeps its tree.
    bool DoOpen(const std::string& path);
    // Asks to save changes, then opens bytes that come from no file (such as
    // a pipe) as DoOpen opens a file holding them: none are not read, a
    // reader error is reported. The document has no path afterwards.
    bool DoOpenBytes(const char* bytes, std::size_t size);
    // Opens entry index of the recent-file list; an entry whose file cannot
    // be opened is removed from the list.
    bool OnOpenRecentFile(int index);
    // Saves to the current path; a never-saved or read-only document goes to
    // Save As instead.
    bool DoSave();
    // Chooses a destination with the platform's save dialog, then DoSaveAs.
    bool OnFileSaveAs();
    bool DoSaveAs(const std::string& path);
    // When the document is modified, asks whether to save the changes: Yes
    // saves (false if that fails), No discards, Cancel returns false.
    bool SaveModified();
    // Hands the document's file to mail; a modified or never-saved document
    // is first saved to a temporary file, and keeps its modified flag.
    bool DoSendMail();

    // ---- Document steps of the life cycle --------------------------------
    // A fresh tree, the single element "ROOTNODE"; path empty, titled
    // "Untitled", not modified; the views receive hint 0.
    bool OnNewDocument();
    // Opens the file at path for reading and, when it holds any bytes, loads
    // it. False (with the platform's message) when it cannot be opened.
    bool OnOpenDocument(const std::string& path);
    // Saves the tree to path, replacing the file there only once the whole
    // text has been written. False (with a message, the file at path and the
    // modified flag unchanged) when there is no tree or the save fails.
    bool OnSaveDocument(const std::string& path);
    // Loading: reads the file at path into the tree, reports a reader error
    // in a message box, and takes whatever tree was built.
    void SerializeLoad(const std::string& path);
    // Loading of bytes held in memory, as SerializeLoad loads a file's.
    void SerializeLoadBytes(const char* bytes, std::size_t size);
    // Storing: makes the backup copy of the current file when auto-backup is
    // on, then builds the file's text in text. False when the text could not
    // be built completely.
    bool SerializeStore(CXmlString& text);
    // The text SerializeStore builds, without the backup copy, passed to
    // sink in pieces as it is made. False when the text is incomplete (where
    // SerializeStore would return false) or the sink failed.
    bool StoreText(CXmlTextSink& sink);

    // The file operations saves are made of; tests put a failing one here.
    void SetFileLayer(CFileLayer& files) { m_pFileLayer = &files; }

    // ---- Option commands -------------------------------------------------
    void OnEditCompressedSave();
    void OnUpdateEditCompressedSave(CCmdUI& cmdUI) const;
    void OnEditAutoBackup();
    void OnUpdateEditAutoBackup(CCmdUI& cmdUI) const;
    bool IsCompressed() const { return m_bCompressed; }
    bool IsAutoBackup() const { return m_bAutoBackup; }

    // ---- Merge of a newly delivered rate file ----------------------------
    void OnFileMerge();
    void OnUpdateFileMerge(CCmdUI& cmdUI) const;
    void MergeRateFile(const std::string& path);
    // File, Merge of the file that another document, delivered, has opened:
    // what OnFileMerge does with that file chosen, without reading it again,
    // for a front end that opens the delivered file itself first to report
    // what is wrong with it. delivered's tree is used up as MergeIncoming
    // uses it.
    void MergeOpenedFile(CQuillmarDoc& delivered);
    // What MergeRateFile does once the incoming file is read: checks its
    // root, merges it, shows the summary and refreshes the views. The
    // incoming tree is used up: plans may move from it into the document.
    void MergeIncoming(CXmlDocument& incoming);
    void MergeHeader(const CXmlDocument& incoming);
    void MergeHeaderItem(const CXmlNode* item);
    void MergeCustomers(const CXmlDocument& incoming);
    void MergeCustomer(CXmlNode* incomingCustomer);

    // ---- Plan matching ---------------------------------------------------
    void MergePlans(CXmlNode* loadedCustomer, CXmlNode* incomingCustomer);
    // lastPairing: the incoming customer is paired with no further loaded
    // customer in this merge.
    void MergePlans(CXmlNode* loadedCustomer, CXmlNode* incomingCustomer, bool lastPairing);
    void MergeCustomerItem(CXmlNode* loadedCustomer, const CXmlNode* item);
    bool FindPlanValues(const CXmlNode* loadedCustomer, CXmlString planKey, CXmlString& planDesc,
                        CXmlString& dpKey);
    bool RemovePlans(CXmlNode* loadedCustomer, CXmlString planKey);
    void ClearPlanValues();
    int32_t GetPlansImported() const { return m_nPlansImported; }
    int32_t GetPlansMatched() const { return m_nPlansMatched; }
    const std::vector<std::unique_ptr<CPlanValues>>& GetPlanValues() const { return m_planValues; }
    // Tells observer what each merge does to the plans; null for none. The
    // document does not own the observer.
    void SetMergeObserver(CMergeObserver* observer) { m_pMergeObserver = observer; }

    // ---- Printed listing -------------------------------------------------
    // Prints the tree's indented text on dc, whose job and first page the
    // platform has started; ends the last page and the job. Always true.
    bool PrintListing(CPrintDevice* dc);

    // The root of the current tree, owned by m_xmlDoc; null when the document
    // holds no tree. The panes, the merge and the listing read and change the
    // tree through it.
    CXmlNode* m_pRootNode = nullptr;

private:
    // Takes the tree the reader built after a load and reports its error.
    void TakeLoadedTree(bool loaded);
    // The steps of MergePlans for one pair of customers.
    friend class CPlanMerge;

    MsgAnswer Message(int stringId, MsgIcon icon);
    MsgAnswer Message(const std::string& text, MsgIcon icon, MsgButtons buttons);
    bool OpenDocumentFile(const std::string& path);
    void SetPathName(const std::string& path);
    void MakeBackup();
    std::string DialogFilter() const;

    // The record of a plan key and its place in m_planValues, or null.
    const CPlanValues* FindRecord(std::string_view planKey, size_t* position = nullptr) const;
    // keyHash is CPlanIndex::Hash of planKey.
    const CPlanValues& AddRecord(const CXmlString& planKey, CXmlString planDesc, CXmlString dpKey,
                                 uint32_t keyHash);
    // Today's date for the expiry test: read once per merge, or afresh
    // outside a merge.
    CDate Today();
    // The first plan of candidates that has not expired, as FindPlanValues
    // chooses it among a customer's plans with one key.
    static const CXmlNode* FirstUnexpired(std::span<const CXmlNode* const> candidates,
                                          const CDate& today);
    // Tells the merge observer which candidates were passed over as expired
    // and which one gave the values (found; null when none did).
    void NotifySearch(std::span<const CXmlNode* const> candidates, const CXmlNode* found) const;

    CPlatform& m_platform;
    CXmlDocument m_xmlDoc;
    bool m_bCompressed = false;
    bool m_bAutoBackup = true;
    // The merge's records, one per plan key, in the order met; the index
    // finds the record of a key without walking the list. It reads the
    // records' own plan keys, which are never changed once made.
    std::vector<std::unique_ptr<CPlanValues>> m_planValues;
    CPlanIndex m_planIndex{m_planValues};
    // The working lists of MergePlans, kept from one pair to the next.
    CPlanMergeLists m_planMergeLists;
    // Valid while MergeCustomers runs: the loaded customers by contract number.
    CCustomerIndex* m_pCustomerIndex = nullptr;
    bool m_bMergeTodayKnown = false;
    // Set while MergeRateFile merges a tree that nothing uses afterwards.
    bool m_bIncomingDisposable = false;
    CDate m_mergeToday;
    int32_t m_nPlansImported = 0;
    int32_t m_nPlansMatched = 0;
    CMergeObserver* m_pMergeObserver = nullptr;

    CFileLayer* m_pFileLayer;
    std::string m_strPathName;
    std::string m_strTitle;
    bool m_bModified = false;
    CRecentFileList m_recentFiles;
    std::vector<CView*> m_views;
};
