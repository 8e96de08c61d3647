// Feeds arbitrary bytes to ParseMdxResult: once as the body itself, once gzipped as the JSON text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "client/mdx_query.h"
#include "tools/standin/gzip_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<unsigned char> body(data, data + size);
    std::unique_ptr<RESTData> raw = ParseMdxResult(body);
    if (raw == nullptr || (raw->GetStatus() != 0 && raw->GetStatus() != 1)) {
        __builtin_trap();
    }
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string gzipped = GzipText(text);
    std::unique_ptr<RESTData> parsed =
        ParseMdxResult(std::vector<unsigned char>(gzipped.begin(), gzipped.end()));
    if (parsed == nullptr) {
        __builtin_trap();
    }
    // A failed answer holds nothing.
    if (parsed->GetStatus() == 0 &&
        (parsed->GetAxisCount() != 0 || !parsed->GetCellTable().GetValues().empty())) {
        __builtin_trap();
    }
    return 0;
}
