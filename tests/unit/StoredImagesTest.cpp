// The image strips stored with the module read as the standard and alternate lists.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "TestSupport.h"
#include "images/StoredImages.h"

namespace ramvel::test {
namespace {

std::vector<std::uint8_t> ReadResource(const std::string& name) {
    std::ifstream file(std::string(RAMVEL_RESOURCES_DIR) + "/images/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    return {std::istreambuf_iterator<char>(file), {}};
}

const struct {
    const char* strip;
    std::int32_t count;
} kStrips[] = {{"standard", kStandardImageCount}, {"alternate", kAlternateImageCount}};

TEST(StoredImages, EveryStoredImageIsA16By16PictureWithSomethingToShow) {
    for (const auto& c : kStrips) {
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

// What each picture depicts, by list and index, as the image mapping describes it.
std::map<std::string, std::vector<std::string>> Descriptions() {
    std::ifstream mapping(std::string(RAMVEL_RESOURCES_DIR) + "/images/silk-mapping.csv");
    EXPECT_TRUE(mapping);
    std::map<std::string, std::vector<std::string>> lists;
    std::string line;
    std::getline(mapping, line);  // column names
    while (std::getline(mapping, line)) {
        std::istringstream fields(line);
        std::string list, index, description;
        std::getline(fields, list, ',');
        std::getline(fields, index, ',');
        std::getline(fields, description, ',');
        lists[list].push_back(description);
    }
    return lists;
}

// Two pictures described differently (say "circular blue question-mark button" and "blue
// question mark") must not be the same picture.
TEST(StoredImages, PicturesDescribedDifferentlyDiffer) {
    auto descriptions = Descriptions();
    for (const auto& c : kStrips) {
        SCOPED_TRACE(c.strip);
        const std::string name = c.strip;
        const std::vector<std::string>& described = descriptions[name];
        ASSERT_EQ(described.size(), static_cast<std::size_t>(c.count));
        const ImageList list = ReadImageStrip(ReadResource(name + ".bmp"), ReadResource(name + "-mask.bmp"), c.count);
        for (std::int32_t i = 0; i < c.count; ++i) {
            for (std::int32_t j = i + 1; j < c.count; ++j) {
                if (described[i] == described[j]) continue;
                const Picture &a = list.Image(i), &b = list.Image(j);
                EXPECT_FALSE(a.pixels == b.pixels && a.masked == b.masked)
                    << i << " (" << described[i] << ") and " << j << " (" << described[j] << ") are one picture";
            }
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
