#include "resources/Pictures.h"

#include <QBitmap>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace kalvo;

namespace {

constexpr QRgb Silver = qRgb(192, 192, 192);
constexpr QRgb IrishKey = qRgb(182, 182, 170);
constexpr QRgb Olive = qRgb(128, 128, 0);
constexpr QRgb Black = qRgb(0, 0, 0);

QImage Argb(const QPixmap& picture)
{
    return picture.toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage Load(const std::string& name)
{
    return Argb(LoadBitmap(QString::fromStdString(name)));
}

QRgb BottomLeft(const QImage& image)
{
    return image.pixel(0, image.height() - 1);
}

QSet<QRgb> Colours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

bool IsGrey(QRgb c)
{
    return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
}

std::string At(int x, int y)
{
    return " (" + std::to_string(x) + "," + std::to_string(y) + ")";
}

struct FlagCase
{
    std::string name;
    QRgb key;
    QRect area; // the flag; every other pixel is margin
};

std::vector<FlagCase> Flags()
{
    std::vector<FlagCase> flags;
    for (int n = 1; n <= 30; ++n)
        flags.push_back({"BITMAP_" + std::to_string(n), Silver, QRect(0, 2, 24, 12)});
    flags[4 - 1].area = flags[18 - 1].area = QRect(4, 0, 15, 15); // EURO and Schweiz are square
    flags[13 - 1].area = flags[22 - 1].area = QRect(0, 2, 24, 11);
    flags[14 - 1].key = IrishKey;
    return flags;
}

struct PictureCase
{
    std::string name;
    QSize size;
    int maxColours;
};

// Every picture drawn on an opaque key-coloured background.
std::vector<PictureCase> KeyedPictures()
{
    std::vector<PictureCase> pictures = {
        {"CEDITBMP", {28, 12}, 16}, {"ZUFUG", {32, 16}, 16},    {"SPIN_UP", {9, 6}, 16},
        {"SPIN_DOWN", {9, 6}, 16},  {"IMAGE1", {124, 34}, 256},
    };
    for (const FlagCase& flag : Flags())
        pictures.push_back({flag.name, {24, 15}, flag.name == "BITMAP_14" ? 256 : 16});
    return pictures;
}

std::vector<PictureCase> AllPictures()
{
    std::vector<PictureCase> pictures = KeyedPictures();
    pictures.push_back({"CURSOR_1", {32, 32}, 3}); // black, white and transparent
    return pictures;
}

template<typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

// Test cases print as their picture's name rather than as a dump of their bytes.
template<typename Case>
concept NamedCase = requires(const Case& c)
{
    c.name;
};

template<NamedCase Case>
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class PictureTest : public testing::TestWithParam<PictureCase>
{};

TEST_P(PictureTest, LoadsWithItsSizeAndColourLimit)
{
    const QImage image = Load(GetParam().name);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), GetParam().size);
    EXPECT_LE(Colours(image).size(), GetParam().maxColours);
}

INSTANTIATE_TEST_SUITE_P(Resources, PictureTest, testing::ValuesIn(AllPictures()),
                         CaseName<PictureCase>);

class KeyedPictureTest : public testing::TestWithParam<PictureCase>
{};

TEST_P(KeyedPictureTest, TransparentBitmapClearsExactlyTheKeyColour)
{
    const QImage source = Load(GetParam().name);
    const QImage result =
        Argb(TransparentBitmap(LoadBitmap(QString::fromStdString(GetParam().name))));
    ASSERT_EQ(result.size(), source.size());
    const QRgb key = BottomLeft(source);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            if (source.pixel(x, y) == key)
                ASSERT_EQ(qAlpha(result.pixel(x, y)), 0) << At(x, y);
            else
                ASSERT_EQ(result.pixel(x, y), source.pixel(x, y)) << At(x, y);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Resources, KeyedPictureTest, testing::ValuesIn(KeyedPictures()),
                         CaseName<PictureCase>);

class FlagTest : public testing::TestWithParam<FlagCase>
{};

TEST_P(FlagTest, KeyColourFillsExactlyTheMargins)
{
    const FlagCase& flag = GetParam();
    const QImage image = Load(flag.name);
    ASSERT_EQ(image.size(), QSize(24, 15));
    EXPECT_EQ(BottomLeft(image), flag.key);
    QSet<QRgb> inside;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (flag.area.contains(x, y)) {
                ASSERT_NE(pixel, flag.key) << "key colour inside the flag" << At(x, y);
                inside.insert(pixel);
            } else {
                ASSERT_EQ(pixel, flag.key) << "margin pixel" << At(x, y);
            }
        }
    }
    EXPECT_GE(inside.size(), 2) << "a flag of one colour";
}

INSTANTIATE_TEST_SUITE_P(Resources, FlagTest, testing::ValuesIn(Flags()), CaseName<FlagCase>);

TEST(Flags, EveryStateHasItsOwnPicture)
{
    const std::vector<FlagCase> flags = Flags();
    std::vector<QImage> images;
    for (const FlagCase& flag : flags)
        images.push_back(Load(flag.name));
    for (size_t i = 0; i < images.size(); ++i)
        for (size_t j = i + 1; j < images.size(); ++j)
            EXPECT_NE(images[i], images[j]) << flags[i].name << " and " << flags[j].name;
}

struct StripCase
{
    std::string name;
    int count;
    QSize imageSize;
};

class StripTest : public testing::TestWithParam<StripCase>
{};

TEST_P(StripTest, SplitsIntoANormalAndAGreyDisabledImage)
{
    const StripCase& c = GetParam();
    const QPixmap strip = LoadBitmap(QString::fromStdString(c.name));
    ASSERT_EQ(strip.width(), c.count * c.imageSize.width());
    const QRgb key = BottomLeft(Argb(strip));
    EXPECT_EQ(key, Olive);
    std::vector<QImage> images;
    for (int i = 0; i < c.count; ++i) {
        images.push_back(Argb(GlyphImage(strip, c.count, i)));
        ASSERT_EQ(images.back().size(), c.imageSize) << "image " << i;
        const QRect part(i * c.imageSize.width(), 0, c.imageSize.width(), c.imageSize.height());
        EXPECT_EQ(images.back(), Argb(strip.copy(part))) << "image " << i;
        EXPECT_EQ(BottomLeft(images.back()), key) << "image " << i << " would not be transparent";
    }
    const QImage& normal = images[0];
    const QImage& disabled = images[1];
    EXPECT_NE(normal, disabled);
    for (QRgb colour : Colours(disabled))
        EXPECT_TRUE(colour == key || IsGrey(colour)) << std::hex << colour;
    const QSet<QRgb> normalColours = Colours(normal);
    EXPECT_TRUE(std::any_of(normalColours.begin(), normalColours.end(), [key](QRgb c) {
        return c != key && !IsGrey(c);
    })) << "the normal image has no colour";
}

INSTANTIATE_TEST_SUITE_P(Resources, StripTest,
                         testing::Values(StripCase{"CEDITBMP", 2, {14, 12}},
                                         StripCase{"ZUFUG", 2, {16, 16}}),
                         CaseName<StripCase>);

TEST(GlyphImage, RefusesImagesThatAreNotInTheStrip)
{
    const QPixmap strip = LoadBitmap(u"ZUFUG");
    ASSERT_FALSE(strip.isNull());
    const struct
    {
        int count, index;
    } cases[] = {{0, 0}, {-1, 0}, {2, 2}, {2, -1}, {1, 1}};
    for (const auto& c : cases)
        EXPECT_TRUE(GlyphImage(strip, c.count, c.index).isNull()) << c.count << " " << c.index;
    EXPECT_TRUE(GlyphImage(QPixmap(), 2, 0).isNull());
    EXPECT_EQ(GlyphImage(strip, 1, 0).size(), strip.size());
}

struct ArrowCase
{
    std::string name;
    std::vector<int> blackPerRow;
};

class ArrowTest : public testing::TestWithParam<ArrowCase>
{};

TEST_P(ArrowTest, IsACentredBlackTriangleSevenWide)
{
    const QImage image = Load(GetParam().name);
    ASSERT_EQ(image.size(), QSize(9, 6));
    EXPECT_EQ(BottomLeft(image), Olive);
    for (int y = 0; y < image.height(); ++y) {
        const int width = GetParam().blackPerRow[y];
        const int first = 4 - width / 2;
        for (int x = 0; x < image.width(); ++x) {
            const bool black = x >= first && x < first + width;
            EXPECT_EQ(image.pixel(x, y), black ? Black : Olive) << At(x, y);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Resources, ArrowTest,
                         testing::Values(ArrowCase{"SPIN_UP", {0, 1, 3, 5, 7, 0}},
                                         ArrowCase{"SPIN_DOWN", {0, 7, 5, 3, 1, 0}}),
                         CaseName<ArrowCase>);

TEST(TransparentBitmap, KeyIsTheBottomLeftColourExactly)
{
    const QRgb red = qRgb(255, 0, 0);
    QImage image(3, 2, QImage::Format_ARGB32);
    // top row: red, a near miss of the key, the key; bottom row: the key, red, another near miss
    const QRgb pixels[2][3] = {{red, qRgb(192, 192, 193), Silver},
                               {Silver, red, qRgb(191, 192, 192)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, pixels[y][x]);
    const QImage result = Argb(TransparentBitmap(QPixmap::fromImage(image)));
    ASSERT_EQ(result.size(), image.size());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            if (pixels[y][x] == Silver)
                EXPECT_EQ(qAlpha(result.pixel(x, y)), 0) << At(x, y);
            else
                EXPECT_EQ(result.pixel(x, y), pixels[y][x]) << At(x, y);
        }
    }
    EXPECT_TRUE(TransparentBitmap(QPixmap()).isNull());
}

TEST(LoadBitmap, UnknownNamesGiveANullPicture)
{
    for (const char* name : {"", "BITMAP_0", "BITMAP_31", "bitmap_1", "BITMAP_1.xpm", "icons"})
        EXPECT_TRUE(LoadBitmap(QString::fromLatin1(name)).isNull()) << '"' << name << '"';
}

TEST(HandCursor, IsTheTwoColourHandWithTheHotSpotAtTheFingerTip)
{
    const QCursor cursor = HandCursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(7, 0));
    const QImage bits = cursor.bitmap().toImage();
    const QImage mask = cursor.mask().toImage();
    ASSERT_EQ(bits.size(), QSize(32, 32));
    ASSERT_EQ(mask.size(), QSize(32, 32));
    // a set bit is colour1, black; in the mask it means drawn
    auto set = [](const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    EXPECT_TRUE(set(mask, 7, 0) && set(bits, 7, 0)) << "the hot spot is not the black finger tip";

    const QImage picture = Load("CURSOR_1");
    int black = 0, white = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            ASSERT_EQ(set(mask, x, y), qAlpha(picture.pixel(x, y)) != 0) << At(x, y);
            ASSERT_FALSE(set(bits, x, y) && !set(mask, x, y)) << "inverting pixel" << At(x, y);
            if (set(mask, x, y))
                ++(set(bits, x, y) ? black : white);
        }
    }
    EXPECT_GT(black, 0);
    EXPECT_GT(white, 0);
}

TEST(Icon, IsAnSvgDocumentWithA48PixelRendering)
{
    QFile file(QStringLiteral(":/kalvo/icons/kalvo.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), u"svg");
    while (!xml.atEnd())
        xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();

    if (QImageReader::supportedImageFormats().contains("svg")) {
        QImageReader reader(QStringLiteral(":/kalvo/icons/kalvo.svg"));
        reader.setScaledSize({48, 48});
        EXPECT_FALSE(reader.read().isNull()) << reader.errorString().toStdString();
    }

    const QImage png(QStringLiteral(KALVO_ICON_PNG));
    EXPECT_EQ(png.size(), QSize(48, 48));
    EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0) << "the icon's corners are not transparent";
}

} // namespace
