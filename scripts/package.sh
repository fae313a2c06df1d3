#!/usr/bin/env bash
# Builds the Debian package build-package/quillmar_3.1.0-1_amd64.deb: a
# Release build with Debian's build flags (hardening included), installed
# under /usr, stripped, and packed by CPack with its dependencies found by
# dpkg-shlibdeps. Prints the package's path on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

# Debian's build flags with every hardening flag, binding at load time
# included; they also choose the optimisation (-O2), as for Debian's own
# packages. The package is for people, who build without -Werror: a warning
# of another compiler version must not stop it. The strip is Debian's too.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package -G Ninja \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DQUILLMAR_WERROR=OFF \
    -DQUILLMAR_BUILD_TESTS=OFF \
    -DQUILLMAR_BUILD_BENCH=OFF \
    -DQUILLMAR_DEBIAN_FILES=ON \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_CXX_FLAGS_RELEASE="-DNDEBUG" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    -DCMAKE_STRIP="$PWD/cmake/debian-strip.sh" >/dev/null
cmake --build build-package -j "$(nproc)"
rm -f build-package/quillmar_*.deb
(cd build-package && cpack -G DEB >/dev/null)
package=$(ls build-package/quillmar_*.deb)
echo "$package"
