// ModelRoundTrip: the property every model parser's fuzz target checks. Any input either is
// refused with a LoadError or loads, with its textures; a loaded scene is either refused by the
// writer without touching the target, or saved, and then loads again, holds the same content
// as far as the variant's file carries it, and saved again gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace y4::fuzz {

// `extension` is "Y4P", "Y4D" or "Y4T". Aborts when the property does not hold.
void checkModelRoundTrip(const std::uint8_t* data, std::size_t size, const char* extension);

}  // namespace y4::fuzz
