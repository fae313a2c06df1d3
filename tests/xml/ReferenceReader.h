// A plain reader written step by step from the reading rules, recursive and
// slow, kept only as the reference that the engine's reader is compared with.
// It differs from the literal rules in the two places where the engine mends
// them: an empty tag gives an empty name, and an element that searches again
// for its end tag does not gather the same bytes into its text twice.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace reference {

struct Node {
    std::string name;
    std::string text;
    std::string key;
    std::vector<std::unique_ptr<Node>> children;
};

struct Result {
    std::unique_ptr<Node> root;
    int error = 0;
    bool ok = false;
};

// Text mode: CR LF becomes LF and a byte 26 ends the text; then each piece
// of 10,239 bytes ends at its first NUL.
inline std::string FileText(const std::string& raw) {
    std::string stream;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == 26) {
            break;
        }
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') {
            continue;
        }
        stream += raw[i];
    }
    std::string text;
    for (size_t piece = 0; piece < stream.size(); piece += 10239) {
        const std::string chunk = stream.substr(piece, 10239);
        text += chunk.substr(0, chunk.find('\0'));
    }
    return text;
}

inline std::string MakeKey(std::string name) {
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) {
        name.erase(0, 1);
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
        name.pop_back();
    }
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    return name;
}

class Reader {
public:
    explicit Reader(std::string text) : T(std::move(text)) {}

    int FindRootStart() {
        size_t k = 0;
        for (;;) {
            long lt = -1;
            long gt = -1;
            while (k < T.size() && (lt < 0 || gt < 0)) {
                if (T[k] == '<') {
                    lt = static_cast<long>(k);
                }
                if (T[k] == '>') {
                    gt = static_cast<long>(k);
                }
                ++k;
            }
            if (lt < 0) {
                return -1;
            }
            if (At(lt + 1) != '?') {
                return static_cast<int>(lt);
            }
        }
    }

    bool Scan(long from, long& lt, long& gt) const {
        lt = -1;
        gt = -1;
        for (long k = from; k < Len() && (lt < 0 || gt < 0); ++k) {
            if (T[k] == '<') {
                lt = k;
            }
            if (T[k] == '>') {
                gt = k;
            }
        }
        return lt >= 0 && gt >= 0 && lt < gt;
    }

    long Parse(Node& n, long& P, int& E) {
        long gathered = -1; // the last byte already gathered into n's text
        for (;;) {
            long lt = 0;
            long gt = 0;
            if (P >= Len() || !Scan(P, lt, gt)) {
                break;
            }
            P = gt + 1;
            n.name = T.substr(lt + 1, gt - lt - 1);
            const std::string endTag = "</" + n.name + ">";
            long j = P;
            bool found = false;
            while (j < Len() && !found) {
                const char c = T[j];
                if (c == '\r' || c == '\n') {
                } else if (c == '<' && At(j + 1) == '!') {
                    const size_t close = T.find('>', j);
                    if (close == std::string::npos) {
                        E = 2;
                        break;
                    }
                    j = static_cast<long>(close);
                } else if (c == '<' && T.compare(j, endTag.size(), endTag) == 0) {
                    P = j + static_cast<long>(endTag.size()) - 1;
                    found = true;
                } else if (c == '<') {
                    long clt = 0;
                    long cgt = 0;
                    if (!Scan(j, clt, cgt)) {
                        E = 2;
                        break;
                    }
                    auto child = std::make_unique<Node>();
                    child->key = MakeKey(T.substr(clt + 1, cgt - clt - 1));
                    Node& c2 = *child;
                    n.children.push_back(std::move(child));
                    P = clt;
                    j = Parse(c2, P, E);
                } else if (j > gathered) {
                    gathered = j;
                    n.text += c;
                    if (c == ';') {
                        Decode(n.text);
                    }
                }
                ++j;
            }
            if (found) {
                Trim(n.text);
                return P;
            }
        }
        if (E != 2) {
            E = 1;
        }
        return Len();
    }

    Result Load() {
        Result result;
        const int start = FindRootStart();
        if (start < 0) {
            result.error = 4;
            return result;
        }
        result.root = std::make_unique<Node>();
        long P = start;
        Parse(*result.root, P, result.error);
        result.ok = result.error == 0;
        return result;
    }

private:
    long Len() const { return static_cast<long>(T.size()); }
    char At(long i) const { return i < Len() ? T[i] : '\0'; }

    static bool EndsWith(const std::string& s, const char* tail) {
        const std::string t(tail);
        return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
    }
    static void Decode(std::string& s) {
        if (EndsWith(s, "&lt;")) {
            s.replace(s.size() - 4, 4, "<");
        } else if (EndsWith(s, "&gt;")) {
            s.replace(s.size() - 4, 4, ">");
        } else if (EndsWith(s, "&amp;")) {
            s.replace(s.size() - 5, 5, "&");
        }
    }
    static void Trim(std::string& s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
            s.erase(0, 1);
        }
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
            s.pop_back();
        }
    }

    std::string T;
};

} // namespace reference
