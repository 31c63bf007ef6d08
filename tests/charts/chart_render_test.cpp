// The SVG as other programs read it: parsed by libxml2's xmllint, rendered by librsvg's rsvg-convert, with each
// mark's pixels where its values put it. Both tools are installed by scripts/install-deps.sh; a missing one fails
// these tests rather than skipping them, so that a picture nobody rendered never passes. Linux only.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <fstream>

#include "charts/chart_svg.h"
#include "testkit/temp_folder.h"

namespace tovarin {
namespace {

// The command's standard output, and its exit code (127: the tool is not installed).
std::pair<int, std::string> RunTool(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return {-1, ""};
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// A fleet of two: the Kestrel (its name with an ampersand, an angle bracket and an accented letter, in the game's
// Windows-1252) made faster, and the Warden unchanged.
std::string FleetSvg(const testkit::TempFolder& folder) {
    const std::string kestrel = "Kestrel & <C\xF6>";
    Cells original;
    original[{SheetKind::Ships, 0, 0, kestrel, "speedmax"}] = "600";
    original[{SheetKind::Ships, 0, 1, kestrel, "hp"}] = "320";
    original[{SheetKind::Ships, 1, 0, "Warden", "speedmax"}] = "400";
    original[{SheetKind::Ships, 1, 1, "Warden", "hp"}] = "900";
    Cells now = original;
    now[{SheetKind::Ships, 0, 0, kestrel, "speedmax"}] = "700";
    const std::string path = (folder.Path() / "fleet.svg").string();
    std::ofstream(path, std::ios::binary) << ChartSvg(ShipScatter(now, original, "speedmax", "hp"));
    return path;
}

TEST(ChartRendering, TheSvgIsXmlAndItsTitlesNameTheShipsAsTheyAreCalled) {
    const testkit::TempFolder folder;
    const std::string svg = FleetSvg(folder);
    const auto [code, title] =
        RunTool("xmllint --nonet --xpath 'string((//*[local-name()=\"title\"])[1])' '" + svg + "' 2>&1");
    ASSERT_EQ(code, 0) << "xmllint failed or is missing (scripts/install-deps.sh installs libxml2-utils): " << title;
    EXPECT_EQ(title, "Kestrel & <C\xC3\xB6>: speedmax 700 (was 600), hp 320\n");  // xmllint ends it with a newline
}

TEST(ChartRendering, RsvgConvertDrawsEachMarkWhereItsValuesPutIt) {
    const testkit::TempFolder folder;
    const std::string svg = FleetSvg(folder);
    const std::string png = (folder.Path() / "fleet.png").string();
    const auto [code, errors] = RunTool("rsvg-convert -f png -o '" + png + "' '" + svg + "' 2>&1");
    ASSERT_EQ(code, 0) << "rsvg-convert failed or is missing (scripts/install-deps.sh installs librsvg2-bin): "
                       << errors;

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, png.c_str())) << image.message;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
    ASSERT_EQ(image.width, 800U);
    ASSERT_EQ(image.height, 500U);

    // The plot spans x 80 to 770 for speedmax 400 to 700 and y 430 up to 20 for hp 200 to 1000.
    enum class Seen { Mark, Faint, Paper };
    struct Row {
        const char* What;
        unsigned X, Y;
        Seen Expected;
    };
    const std::vector<Row> rows = {
        {"the Kestrel at speedmax 700, hp 320", 770, 368, Seen::Mark},
        {"the Kestrel's original at speedmax 600", 538, 367, Seen::Faint},
        {"the Warden at speedmax 400, hp 900", 81, 71, Seen::Mark},
        {"nothing at speedmax 550, hp 600", 425, 225, Seen::Paper},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        const unsigned char* rgb = &pixels[(row.Y * image.width + row.X) * 3];
        const int r = rgb[0], g = rgb[1], b = rgb[2];
        const bool grey = std::abs(r - g) < 12 && std::abs(g - b) < 12;
        const Seen seen = b > r + 60 ? Seen::Mark : grey && r < 240 ? Seen::Faint : Seen::Paper;
        EXPECT_EQ(seen, row.Expected) << "rgb " << r << ',' << g << ',' << b;
        if (row.Expected == Seen::Paper) {
            EXPECT_GT(r + g + b, 3 * 245);
        }
    }
}

}  // namespace
}  // namespace tovarin
