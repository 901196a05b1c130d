// loadBitmapImage on bitmap files that cannot be shown: the loader's message for each, and no
// image.
#include "files/BitmapLoader.h"

#include <gtest/gtest.h>

#include "support/BitmapBuilder.h"
#include "support/StrictPrompt.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::BitmapBuilder;
using test::testPrompt;

TEST(BitmapLoader, FailuresShowOneMessageAndGiveNull) {
    test::TempDir dir;
    std::string truncated = BitmapBuilder(4, 4, 24, std::vector<std::uint32_t>(16)).build();
    truncated.resize(truncated.size() - 20);
    dir.write("folder.bmp/inner", "");  // a folder is no bitmap file
    const std::pair<std::string, std::string> cases[] = {
        {dir.path() + "\\NONE.BMP", "Failed to open DIB file " + dir.path() + "\\NONE.BMP.\n"},
        {dir.file("folder.bmp"), "Failed to open DIB file " + dir.file("folder.bmp") + ".\n"},
        {dir.write("v5.bmp", BitmapBuilder(1, 1, 24, {0}).headerSize(124).build()),
         "Unknown DIB file format."},
        {dir.write("short.bmp", truncated), "Image file conversion error."},
        {dir.write("huge.bmp", BitmapBuilder(100000, 100000, 24).build()), "Out of memory."},
    };
    for (const auto& [path, message] : cases) {
        testPrompt().expectMessage(message);
        EXPECT_FALSE(loadBitmapImage(path)) << path;
    }
    ASSERT_EQ(testPrompt().shown.size(), std::size(cases));
    for (const test::ShownMessage& shown : testPrompt().shown) {
        EXPECT_EQ(shown.caption, "Error") << shown.text;
    }
}

}  // namespace
}  // namespace y4
