#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "book/footer.h"
#include "book/listing.h"
#include "book/page_buffer.h"
#include "platform/picture_header.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

// Headers claiming 30000 x 30000 (PNG, TIFF) and 16384 x 16384 (lossless WebP), without data.
const QByteArray kHugePng =
    QByteArray::fromHex("89504e470d0a1a0a0000000d494844520000753000007530080600000000");
const QByteArray kHugeWebp =
    QByteArray::fromHex("5249464600000000574542505650384c000000002fffffff0f0000000000");
const QByteArray kHugeTiff = QByteArray::fromHex(
    "49492a00080000000200000104000100000030750000010104000100000030750000000000000000");

TEST(Listing, PatternsAndSorting) {
    const std::pair<const char*, bool> patterns[] = {
        {"a.jpg", true},   {"02.JPG", true},     {"03.Gif", true},    {"b.bmp", true},
        {"湖.jpg", true},  {".jpg", true},       {"c.jpeg", true},    {"d.png", true},
        {"e.JPE", true},   {"f.WebP", true},     {"g.tif", true},     {"h.TIFF", true},
        {"jpg", false},    {"e.jpg.txt", false}, {"f.(F)jpg", false}, {"i.svg", false},
        {"j.tiff~", false}};
    for (const auto& [name, matches] : patterns) {
        EXPECT_EQ(MatchesPicturePattern(QString::fromUtf8(name)), matches) << name;
    }
    QStringList names = QStringLiteral("10 b.jpg|2 a.jpg|B.jpg|a.jpg|1 c.jpg|A.JPG").split(u'|');
    SortLikeFileManager(names);
    EXPECT_EQ(names.join(u'|'), QStringLiteral("1 c.jpg|2 a.jpg|10 b.jpg|A.JPG|a.jpg|B.jpg"));
}

TEST(PageBuffer, DecodesUprightAndAtMostAtBookResolution) {
    test::TempFolder dir;
    // EXIF segment: big-endian TIFF, one entry, Orientation (0x0112) = 6, "turn clockwise".
    const QByteArray exif = QByteArray::fromHex(
        "ffe10022457869660000"
        "4d4d002a00000008000101120003000000010006000000000000");
    // File size, turned by the tag, decoded size.
    const std::tuple<QSize, bool, QSize> rows[] = {
        {{640, 480}, false, {640, 480}},   {{750, 500}, false, {750, 500}},
        {{6000, 4000}, false, {750, 500}}, {{1000, 1500}, false, {750, 500}},
        {{20000, 10}, false, {750, 10}},   {{60, 40}, true, {40, 60}},
        {{1000, 600}, true, {600, 500}}};
    QByteArray bytes;
    for (const auto& [size, turned, stored] : rows) {
        bytes = test::TempFolder::ReadFile(
            dir.writePicture(QStringLiteral("p.jpg"), size.width(), size.height(), 0xff0000));
        // The tag's segment goes right after the start-of-image marker.
        const std::optional<DecodedPicture> p = DecodePicture(
            dir.write(QStringLiteral("p.jpg"), turned ? bytes.insert(2, exif) : bytes));
        ASSERT_TRUE(p);
        EXPECT_EQ(std::tuple(p->logical, p->image.size(), qRed(p->image.pixel(0, 0)) > 200),
                  std::tuple(turned ? size.transposed() : size, stored, true))
            << size.width();
    }
    // A truncated JPEG shows what it has.
    const std::optional<DecodedPicture> cut =
        DecodePicture(dir.write(QStringLiteral("cut.jpg"), bytes.left(bytes.size() / 3)));
    EXPECT_EQ(cut ? cut->logical : QSize(), QSize(600, 1000));
    // 8660 x 5774 at 32 bits is over Qt's default reader limit of 128 MB, within the budget.
    PageBuffer pic;
    ASSERT_TRUE(pic.Load(dir.writePicture(QStringLiteral("big.bmp"), 8660, 5774, 0x404040)));
    EXPECT_EQ(pic.pixels().pixel(10, 10), qRgb(0x40, 0x40, 0x40));
    // A BMP stored top down (a negative height): red rows first, shown upright on the whole page.
    const QByteArray topDown = QByteArray::fromHex(
        "424d0000000000000000360000002800000002000000feffffff01001800000000000000000000000000"
        "000000000000000000000000"
        "0000ff0000ff000000ff0000ff000000");
    ASSERT_TRUE(pic.Load(dir.write(QStringLiteral("top.bmp"), topDown)));
    EXPECT_EQ(std::tuple(pic.logicalSize(), pic.pixels().pixel(0, 0), pic.pixels().pixel(0, 499)),
              std::tuple(kPageSize, qRgb(255, 0, 0), qRgb(0, 255, 0)));
    // A GIF's size is its logical screen (4609 x 10 here) whatever its first frame (200 x 10).
    const std::optional<DecodedPicture> wide = DecodePicture(
        dir.write(QStringLiteral("wide.gif"),
                  QByteArray::fromHex(
                      "47494638396101120a00800000000000ffffff2c00000000c8000a000002024401003b")));
    ASSERT_TRUE(wide);
    EXPECT_EQ(std::pair(wide->logical, wide->image.size()),
              std::pair(QSize(4609, 10), QSize(750, 10)));
    // Headers that claim more than a decode may take are refused before anything is decoded.
    const QByteArray huge[] = {
        QByteArray::fromHex(
            "4749463839610020002080000000000000ffffff2c0000000001000100000202440100"),
        QByteArray::fromHex("ffd8ffc20011087530753003011100021101031101ffda000803"),
        QByteArray::fromHex("424d00040000000000003604000028000000204e0000204e0000010008000100"),
        kHugePng,
        kHugeWebp,
        kHugeTiff};
    for (const QByteArray& claim : huge) {
        EXPECT_GT(DecodeCost(ReadPictureHeader(claim), kPageSize), kDecodeBudget)
            << claim.toHex().toStdString();
        EXPECT_FALSE(DecodePicture(dir.write(QStringLiteral("huge.jpg"), claim)))
            << claim.toHex().toStdString();
    }
}

TEST(Footer, PlacementBands) {
    // Size, x, y; limits belong to the lower band.
    const std::array<double, 3> rows[] = {
        {0, 0, 0},          {40, 0, 0},        {41, 0, 11},        {60, 0, 30},
        {61, 16, 31},       {100, 55, 70},     {150, 105, 100},    {151, 76, 101},
        {400, 325, 350},    {401, 326, 331},   {600, 525, 530},    {601, 496, 531},
        {800, 695, 730},    {801, 696, 711},   {1200, 1095, 1110}, {1201, 1066, 1071},
        {1800, 1665, 1670}, {1801, 1606, 1671}};
    for (const auto& [n, x, y] : rows) {
        EXPECT_EQ(std::pair(FooterX(n), FooterY(n)), std::pair(x, y)) << n;
    }
    // Width, height, points, x, y.
    const std::array<double, 5> worked[] = {
        {1024, 768, 24, 919, 698},   {800, 600, 18, 695, 530},     {640, 480, 18, 535, 410},
        {1920, 1080, 24, 1725, 990}, {3000, 2000, 24, 2805, 1870}, {900, 600, 18, 795, 530},
        {901, 600, 24, 796, 530}};
    for (const auto& [w, h, pt, x, y] : worked) {
        EXPECT_EQ(std::tuple(FooterPoints(w), FooterX(w), FooterY(h)), std::tuple(pt, x, y)) << w;
    }
}

// Every page number reads alike: it is written on the page as shown, after small pictures are
// scaled up and large ones down, never a smudge or a blot once the page is on the book.
TEST(Footer, TheNumberIsTheSameOnEveryPicture) {
    test::TempFolder dir;
    QImage first;
    for (const QSize size : {QSize(200, 150), QSize(750, 500), QSize(4000, 3000)}) {
        PageBuffer pic;  // white: marking changes the number's pixels alone
        ASSERT_TRUE(pic.Load(
            dir.writePicture(QStringLiteral("p.jpg"), size.width(), size.height(), 0xffffff)));
        const QImage plain = pic.pixels();
        MarkFooter(true, pic, 0, 5);
        if (first.isNull()) {
            first = pic.pixels();
            QRect ink;
            for (int y = 0; y < plain.height(); ++y) {
                for (int x = 0; x < plain.width(); ++x) {
                    ink |= first.pixel(x, y) != plain.pixel(x, y) ? QRect(x, y, 1, 1) : QRect();
                }
            }
            // 18 points (24 pixels) from (645, 430): "1/5" stands about 17 pixels high, 30 wide.
            EXPECT_TRUE(ink.left() >= 645 && ink.left() < 650 && ink.top() >= 430 &&
                        ink.top() < 440 && ink.height() >= 14 && ink.height() <= 24 &&
                        ink.width() >= 24 && ink.width() <= 48)
                << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
        }
        EXPECT_TRUE(pic.pixels() == first) << size.width() << " differs from 200 x 150";
    }
}

}  // namespace
}  // namespace leafsong
