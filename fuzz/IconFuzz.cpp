// The .ico reader on any bytes: it finds a 32 x 32 image or refuses, and
// never reads outside the data.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "platform/SdlIcon.h"

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    plat::internal::IconImage icon;
    icon.width = -1;
    if (!plat::internal::parseIcon(data, size, &icon)) {
        check(icon.width == -1 && icon.argb.empty(), "a refused icon changed the result");
        return 0;
    }
    check(icon.width == 32 && icon.height == 32 && icon.argb.size() == 32 * 32,
          "an icon of the wrong size was taken");
    return 0;
}
