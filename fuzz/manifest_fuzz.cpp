// Fuzzes the packing tool's manifest reader: the input is the manifest's JSON. Every fault is
// a message; a manifest without faults gives a volume description whose books and pages can
// all be named in messages.
#include "fuzz/fuzz_input.h"
#include "pack/manifest/manifest.h"

using namespace cvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const pack::ManifestRead read =
        pack::parseManifest(fuzz::bytes(data, size), QStringLiteral("/scans"));
    for (const QString& error : read.errors)
        fuzz::require(!error.isEmpty());
    const pack::Manifest& m = read.manifest;
    const QStringList problems = pack::manifestProblems(m);
    for (int b = 0; b < m.books.size(); ++b) {
        fuzz::require(!pack::bookName(m, b).isEmpty());
        for (int p = 0; p < m.books[b].pages.size(); ++p)
            fuzz::require(!pack::pageName(m, b, p).isEmpty());
    }
    if (!read.errors.isEmpty() || !problems.isEmpty())
        return 0;
    const pack::VolumeSpec plan = pack::volumeSpec(m);
    fuzz::require(plan.books.size() == m.books.size());
    fuzz::require(plan.workFolderName.size() == 8);
    fuzz::require(plan.coverBook >= 0 && plan.coverBook < plan.books.size());
    fuzz::require(plan.coverEntry >= 0 && plan.coverEntry < m.books[plan.coverBook].pages.size());
    return 0;
}
