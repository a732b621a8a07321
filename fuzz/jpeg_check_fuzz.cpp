// Fuzzes the packing tool's check of JPEG scans against the viewer's decoder: a scan the check
// accepts without decoding its pixels must decode to a picture when read as the viewer reads a
// page, and one that decodes so is refused by the check only when it does not end after its
// last scan.
#include "fuzz/fuzz_input.h"
#include "pack/scans/page_preparation.h"

using namespace cvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray jpeg = fuzz::bytes(data, size);
    const bool accepted = pack::scanProblem(jpeg).isEmpty();
    const bool decodes = pack::decodeProblem(jpeg).isEmpty();
    fuzz::require(!accepted || decodes);
    fuzz::require(accepted || !decodes || !pack::jpegComplete(jpeg));
    return 0;
}
