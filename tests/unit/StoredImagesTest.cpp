// The image strips stored with the module read as the standard and alternate lists.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "TestSupport.h"
#include "images/StoredImages.h"

namespace ramvel::test {
namespace {

std::vector<std::uint8_t> ReadResource(const std::string& name) {
    std::ifstream file(std::string(RAMVEL_RESOURCES_DIR) + "/images/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    return {std::istreambuf_iterator<char>(file), {}};
}

TEST(StoredImages, EveryStoredImageIsA16By16PictureWithSomethingToShow) {
    struct {
        const char* strip;
        std::int32_t count;
    } cases[] = {{"standard", kStandardImageCount}, {"alternate", kAlternateImageCount}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strip);
        const std::string name = c.strip;
        const ImageList list = ReadImageStrip(ReadResource(name + ".bmp"), ReadResource(name + "-mask.bmp"), c.count);
        ASSERT_EQ(list.Count(), c.count);
        for (std::int32_t i = 0; i < c.count; ++i) {
            SCOPED_TRACE(i);
            const Picture& image = list.Image(i);
            ASSERT_EQ(image.width, 16);
            ASSERT_EQ(image.height, 16);
            const auto opaque = std::count(image.masked.begin(), image.masked.end(), 0);
            EXPECT_GT(opaque, 16) << "nearly empty";
            EXPECT_LT(opaque, 256) << "no transparent pixel";
            // Pictures, not flat squares: more than one colour among the opaque pixels.
            std::vector<Rgb> colours;
            for (std::size_t p = 0; p < image.pixels.size(); ++p)
                if (!image.masked[p]) colours.push_back(image.pixels[p]);
            std::sort(colours.begin(), colours.end());
            EXPECT_GT(std::unique(colours.begin(), colours.end()) - colours.begin(), 1);
        }
    }
}

TEST(StoredImages, StripsThatDoNotCoverTheImagesAreRefused) {
    const std::vector<std::uint8_t> colour = ReadResource("standard.bmp"), mask = ReadResource("standard-mask.bmp");
    EXPECT_ERROR(ReadImageStrip(colour, mask, kStandardImageCount + 4), kEUnexpected, u"Taille de l'image non valide");
    EXPECT_ERROR(ReadImageStrip(colour, ReadResource("alternate-mask.bmp"), kStandardImageCount), kEUnexpected,
                 u"Taille de l'image non valide");
}

}  // namespace
}  // namespace ramvel::test
