#include "core/convert/ImageSize.h"

namespace tessaldo {

bool HasTooManyPixels(ImageSize size)
{
    // Divided, not multiplied: sides a file declares may be too large for their product.
    return size.width > 0 && size.height > 0 && size.width > kMaxImportPixels / size.height;
}

std::string TooManyPixels(ImageSize size)
{
    return TooManyPixels(std::to_string(size.width), std::to_string(size.height));
}

std::string TooManyPixels(std::string_view width, std::string_view height)
{
    return "it is " + std::string(width) + " x " + std::string(height) + " pixels; images up to "
           + std::to_string(kMaxImportPixels / 1'000'000) + " megapixels can be imported";
}

} // namespace tessaldo
