// The simulator's drawing as logic: the sample drawings and their exact areas, perimeters and
// centroids, the innermost shape around a point, the report's layout byte for byte, the drawing
// file's errors, and the view that maps the drawing onto the screen.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "cadsim_process.h"
#include "coordinates.h"
#include "drawing.h"
#include "drawing_file.h"
#include "file_bytes.h"
#include "geometry.h"
#include "mass_properties.h"
#include "report_writer.h"
#include "view_transform.h"

namespace {

using cadsim::Drawing;
using cadsim::Entity;
using cadsim::EntityType;
using cadsim::Fixed4;
using cadsim::Point;
using cadsim::Polygon;

Drawing LoadSample(const char* name) {
    Drawing drawing;
    std::string error;
    const std::string text = testsupport::ReadBytes(testsupport::CadsimSamplePath(name));
    EXPECT_FALSE(text.empty()) << name;
    EXPECT_TRUE(cadsim::ParseDrawingFile(text, drawing, error)) << name << ": " << error;
    return drawing;
}

// What the report prints for one shape: area, perimeter and centroid with four decimals.
struct Printed {
    std::string area;
    std::string perimeter;
    std::string centroidX;
    std::string centroidY;
};

Printed Print(const std::vector<Polygon>& shapes) {
    const cadsim::MassProperties p = cadsim::Measure(shapes);
    return Printed{Fixed4(p.area), Fixed4(p.perimeter), Fixed4(p.centroid.x), Fixed4(p.centroid.y)};
}

void ExpectPrinted(const Printed& actual, const Printed& expected) {
    EXPECT_EQ(actual.area, expected.area);
    EXPECT_EQ(actual.perimeter, expected.perimeter);
    EXPECT_EQ(actual.centroidX, expected.centroidX);
    EXPECT_EQ(actual.centroidY, expected.centroidY);
}

struct SampleShape {
    const char* file;
    std::size_t index;  // in file order
    EntityType type;
    Printed expected;  // worked out by hand from the corners
};

TEST(CadsimSamples, EveryShapeMeasuresExactlyAsWorkedOutByHand) {
    const std::vector<SampleShape> shapes = {
        {"rectangle.txt", 0, EntityType::Polyline, {"4200.0000", "260.0000", "30.0000", "35.0000"}},
        {"triangle.txt", 0, EntityType::Polyline, {"600.0000", "120.0000", "10.0000", "13.3333"}},
        {"l_shape.txt", 0, EntityType::Polyline, {"2400.0000", "280.0000", "20.0000", "30.0000"}},
        {"island.txt", 0, EntityType::Polyline, {"10000.0000", "400.0000", "50.0000", "50.0000"}},
        {"island.txt", 1, EntityType::Polyline, {"600.0000", "100.0000", "35.0000", "30.0000"}},
        {"far_negative.txt", 0, EntityType::Polyline, {"4000.0000", "260.0000", "1000040.0000", "-1000025.0000"}},
        {"far_negative.txt", 1, EntityType::Polyline, {"2400.0000", "240.0000", "1000120.0000", "-1000076.6667"}},
        {"regions.txt", 0, EntityType::Region, {"1200.0000", "140.0000", "20.0000", "15.0000"}},
        // 40 + 2 * sqrt(20^2 + 30^2) = 112.11102...
        {"regions.txt", 1, EntityType::Region, {"600.0000", "112.1110", "80.0000", "10.0000"}},
        {"regions.txt", 2, EntityType::Region, {"600.0000", "140.0000", "10.0000", "65.0000"}},
        {"regions.txt", 3, EntityType::Polyline, {"1600.0000", "160.0000", "80.0000", "70.0000"}},
        {"regions.txt", 4, EntityType::Polyline, {"600.0000", "120.0000", "130.0000", "13.3333"}},
        {"gap.txt", 0, EntityType::Polyline, {"1600.0000", "160.0000", "20.0000", "20.0000"}},
        // Measured as if the gap were closed.
        {"gap.txt", 1, EntityType::OpenPolyline, {"1600.0000", "160.0000", "80.0000", "20.0000"}},
    };
    for (const SampleShape& shape : shapes) {
        SCOPED_TRACE(std::string(shape.file) + " #" + std::to_string(shape.index));
        const Drawing drawing = LoadSample(shape.file);
        ASSERT_LT(shape.index, drawing.Entities().size());
        const Entity& entity = drawing.Entities().at(shape.index + 1);
        EXPECT_EQ(entity.type, shape.type);
        EXPECT_EQ(entity.id, static_cast<int>(shape.index) + 1);
        ExpectPrinted(Print({entity.corners}), shape.expected);
    }
}

TEST(CadsimSamples, TwoRegionsMeasureAsOneBody) {
    const Drawing drawing = LoadSample("regions.txt");
    const std::vector<Polygon> both = {drawing.Entities().at(1).corners, drawing.Entities().at(2).corners};
    // Areas 1200 and 600 at 20,15 and 80,10: (24000 + 48000) / 1800 and (18000 + 6000) / 1800.
    ExpectPrinted(Print(both), {"1800.0000", "252.1110", "40.0000", "13.3333"});
    const cadsim::MassProperties p = cadsim::Measure(both);
    EXPECT_EQ(Fixed4(p.bounds.min.x) + " " + Fixed4(p.bounds.max.x), "0.0000 100.0000");
    EXPECT_EQ(Fixed4(p.bounds.min.y) + " " + Fixed4(p.bounds.max.y), "0.0000 30.0000");
}

TEST(CadsimSamples, TheInnermostShapeAroundAPointIsTheSmallestThatHoldsIt) {
    const Drawing island = LoadSample("island.txt");
    const Entity* between = island.InnermostAt(Point{10, 10}, true, true);
    ASSERT_NE(between, nullptr);
    EXPECT_EQ(between->id, 1);
    const Entity* inside = island.InnermostAt(Point{30, 30}, true, true);
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(inside->id, 2);
    EXPECT_EQ(island.InnermostAt(Point{150, 50}, true, true), nullptr);
    // On an edge a point is in no shape of that edge: only the outer square holds 20,30.
    EXPECT_EQ(island.InnermostAt(Point{20, 30}, true, true)->id, 1);
    EXPECT_EQ(island.InnermostAt(Point{0, 50}, true, true), nullptr);

    const Drawing regions = LoadSample("regions.txt");
    EXPECT_EQ(regions.InnermostAt(Point{80, 70}, true, false)->id, 4);
    EXPECT_EQ(regions.InnermostAt(Point{80, 70}, false, true), nullptr) << "the square is a polyline";
    EXPECT_EQ(regions.InnermostAt(Point{5, 80}, false, true)->id, 3);
    EXPECT_EQ(regions.InnermostAt(Point{20, 80}, false, true), nullptr) << "outside the L, beside its upright";
}

// The lookups go through a spatial index; they must find exactly what looking at every entity finds,
// for shapes of every size from a hundredth of a unit to a million, far from the origin too, and
// after entities have gone.
TEST(CadsimSpatialLookup, FindsWhatAScanOfEveryEntityFinds) {
    std::mt19937 random(17);
    const auto uniform = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const auto scale = [&] { return std::pow(10.0, uniform(-2, 6)); };
    const auto boundsMeet = [](const cadsim::Box& a, const cadsim::Box& b) {
        return a.min.x <= b.max.x && b.min.x <= a.max.x && a.min.y <= b.max.y && b.min.y <= a.max.y;
    };
    Drawing drawing;
    for (int i = 0; i < 600; ++i) {
        Entity entity;
        const double size = scale();
        const Point at{uniform(-1e6, 1e6) * (i % 3 == 0 ? 1e-4 : 1), uniform(-1e6, 1e6) * (i % 3 == 0 ? 1e-4 : 1)};
        entity.type = i % 4 == 0 ? EntityType::Circle : (i % 4 == 1 ? EntityType::Polyline : EntityType::Region);
        if (i % 5 == 0 && entity.type == EntityType::Region) {
            entity.center = at;  // a round region
            entity.radius = size;
        } else if (entity.type == EntityType::Circle) {
            entity.center = at;
            entity.radius = size;
        } else {
            entity.corners = {at, {at.x + size, at.y}, {at.x + size, at.y + size / 2}, {at.x, at.y + size * 2}};
        }
        drawing.Add(entity);
    }
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 400; ++i) {
            // Points near entities, so that many lie inside one or several of them.
            const auto& entities = drawing.Entities();
            auto picked = entities.begin();
            std::advance(picked, random() % entities.size());
            const cadsim::Box around = cadsim::BoundsOf(picked->second);
            const Point point{uniform(around.min.x, around.max.x), uniform(around.min.y, around.max.y)};
            for (const bool polylines : {false, true}) {
                const Entity* expected = nullptr;
                double expectedArea = 0;
                for (const auto& [id, entity] : entities) {
                    const bool wanted = entity.type == (polylines ? EntityType::Polyline : EntityType::Region);
                    const bool inside = entity.Round() ? std::hypot(point.x - entity.center.x,
                                                                    point.y - entity.center.y) < entity.radius
                                                       : cadsim::Holds(entity.corners, point);
                    const double area = entity.Round() ? 3.14159265358979 * entity.radius * entity.radius
                                                       : std::fabs(cadsim::SignedArea(entity.corners));
                    if (wanted && inside && (expected == nullptr || area < expectedArea)) {
                        expected = &entity;
                        expectedArea = area;
                    }
                }
                ASSERT_EQ(drawing.InnermostAt(point, polylines, !polylines), expected)
                    << "round " << round << " point " << Fixed4(point.x) << "," << Fixed4(point.y);
            }
            const double reach = scale();
            const cadsim::Box box{{point.x - reach, point.y - reach}, {point.x + reach, point.y + reach * 3}};
            std::vector<int> expected;
            for (const auto& [id, entity] : entities)
                if (boundsMeet(cadsim::BoundsOf(entity), box))
                    expected.push_back(id);
            std::vector<int> found;
            for (const Entity* entity : drawing.Within(box))
                found.push_back(entity->id);
            ASSERT_EQ(found, expected) << "round " << round;
        }
        for (int id = 1; id <= 600; id += 2)
            drawing.Remove(id);
    }
}

TEST(CadsimGeometry, HoldsCountsConcaveShapesAndNotTheirEdges) {
    const Polygon l = {{0, 0}, {60, 0}, {60, 20}, {20, 20}, {20, 80}, {0, 80}};
    EXPECT_TRUE(cadsim::Holds(l, Point{10, 70}));
    EXPECT_TRUE(cadsim::Holds(l, Point{50, 10}));
    EXPECT_FALSE(cadsim::Holds(l, Point{40, 40}));
    EXPECT_FALSE(cadsim::Holds(l, Point{60, 10}));
    EXPECT_FALSE(cadsim::Holds(l, Point{20, 20}));
    // A ray through a corner counts once.
    EXPECT_TRUE(cadsim::Holds(l, Point{10, 20}));
    EXPECT_FALSE(cadsim::Holds(l, Point{-10, 20}));
}

TEST(CadsimGeometry, MomentsOfTheRectangleAreTheTextbookOnes) {
    const cadsim::MassProperties p = cadsim::Measure({{{0, 0}, {60, 0}, {60, 70}, {0, 70}}});
    // b h^3 / 3, h b^3 / 3, b^2 h^2 / 4 about the axes; b h^3 / 12 and h b^3 / 12 about the centroid.
    EXPECT_EQ(Fixed4(p.momentX), "6860000.0000");
    EXPECT_EQ(Fixed4(p.momentY), "5040000.0000");
    EXPECT_EQ(Fixed4(p.productXY), "4410000.0000");
    EXPECT_EQ(Fixed4(p.radiusX), "40.4145");
    EXPECT_EQ(Fixed4(p.radiusY), "34.6410");
    EXPECT_EQ(Fixed4(p.principalI), "1715000.0000");
    EXPECT_EQ(Fixed4(p.principalJ), "1260000.0000");

    // Turned by 30 degrees, a 2 x 1 rectangle's principal axes turn with it; the first is the one
    // nearer X, here the long side.
    const Point u{std::sqrt(3.0) / 2, 0.5};
    const Point v{-0.5, std::sqrt(3.0) / 2};
    const cadsim::MassProperties turned =
        cadsim::Measure({{{0, 0}, {2 * u.x, 2 * u.y}, {2 * u.x + v.x, 2 * u.y + v.y}, {v.x, v.y}}});
    EXPECT_EQ(Fixed4(turned.principalI), "0.1667") << "2 * 1^3 / 12 about the long side";
    EXPECT_EQ(Fixed4(turned.directionI.x) + " " + Fixed4(turned.directionI.y), "0.8660 0.5000");
    EXPECT_EQ(Fixed4(turned.principalJ), "0.6667") << "1 * 2^3 / 12";
    EXPECT_EQ(Fixed4(turned.directionJ.x) + " " + Fixed4(turned.directionJ.y), "-0.5000 0.8660");
}

std::string Blanks(std::size_t count) {
    return std::string(count, ' ');
}

TEST(CadsimReport, RectangleReportIsTheHostsLayoutByteForByte) {
    const Drawing drawing = LoadSample("rectangle.txt");
    const std::vector<std::string> lines = cadsim::ReportLines(cadsim::Measure({drawing.Entities().at(1).corners}));
    // Labels in code page 932 are two bytes a character; values start at byte 25, "X:" at byte 22.
    const std::vector<std::string> expected = {
        "----------------   リージョン   ----------------",
        "面積:" + Blanks(20) + "4200.0000",
        "周囲:" + Blanks(20) + "260.0000",
        "境界ボックス:" + Blanks(9) + "X: 0.0000  --  60.0000",
        Blanks(22) + "Y: 0.0000  --  70.0000",
        "図心" + Blanks(18) + "X: 30.0000",
        Blanks(22) + "Y: 35.0000",
        "慣性モーメント:" + Blanks(7) + "X: 6860000.0000",
        Blanks(22) + "Y: 5040000.0000",
        "慣性乗積:" + Blanks(12) + "XY: 4410000.0000",
        "回転半径:" + Blanks(13) + "X: 40.4145",
        Blanks(22) + "Y: 34.6410",
        "主慣性モーメントと重心周りの X-Y 方向:",
        Blanks(22) + "I: 1715000.0000 方向 [1.0000 0.0000]",
        Blanks(22) + "J: 1260000.0000 方向 [0.0000 1.0000]",
    };
    EXPECT_EQ(lines, expected);
    std::string bytes;
    for (const std::string& line : expected)
        bytes += line + "\r\n";
    EXPECT_EQ(cadsim::ReportFileBytes(lines), bytes);
    // The first bytes of the header's Japanese word and of the centroid label, in code page 932.
    EXPECT_EQ(bytes.substr(19, 2), "\x83\x8A");
    EXPECT_EQ(lines[5].substr(0, 6), "\x90}\x90S  ");
}

TEST(CadsimReport, NegativeValuesAndTinyOnesPrintWithoutANegativeZero) {
    EXPECT_EQ(Fixed4(-0.0), "0.0000");
    EXPECT_EQ(Fixed4(-0.00004), "0.0000");
    EXPECT_EQ(Fixed4(-0.00005), "-0.0001");
    EXPECT_EQ(Fixed4(-1000076.666666), "-1000076.6667");
}

struct BadDrawing {
    std::string text;
    std::string error;
};

TEST(CadsimDrawingFile, BadLinesAreNamedWithTheirNumberAndLeaveTheDrawingAlone) {
    const std::vector<BadDrawing> cases = {
        {"# fine\npolyline 0,0 1,0 1,1\nsquare 0,0 1,1\n",
         "line 3: unknown entity 'square' (polyline, region, circle or openpolyline)"},
        {"polyline 0,0 1,0 1;1\n", "line 1: '1;1' is not a corner x,y"},
        {"polyline 0,0 1,0 1,1,\n", "line 1: '1,1,' is not a corner x,y"},
        {"polyline 0,0 1e999,0 1,1\n", "line 1: '1e999,0' is not a corner x,y"},
        {"polyline 0,0 1,0\n", "line 1: a polyline needs at least 3 corners"},
        {"region 0,0 1,0 0,0\n", "line 1: a region needs at least 3 corners"},
        {"\n\nregion 0,0 1,1 2,2\n", "line 3: the shape has no area"},
        {"polyline 0,0 2,2 2,0 0,2\n", "line 1: the shape has no area"},
        {"polyline 0,0 4,4 4,0 0,2\n", "line 1: the edges of the shape cross or touch"},
        {"polyline 0,0 4,0 4,4 2,0 0,4\n", "line 1: the edges of the shape cross or touch"},
        {"polyline 0,0 1,0 1,0 1,1\n", "line 1: corner 3 repeats the one before it"},
        {"circle 0,0\n", "line 1: a circle needs a centre x,y and a radius"},
        {"circle 0,0 -2\n", "line 1: '-2' is not a radius greater than 0"},
        {"polyline 0,0 1,0 1,1\r\npolyline 0,0\x01 1,0 1,1\r\n", "line 2: '0,0\\x01' is not a corner x,y"},
        {std::string("PK\x03\x04\0\0", 6), "line 1: control characters in the line (is this a drawing file?)"},
        {"polyline \x8E\x6C,0 1,0 1,1\n", "line 1: '\\x8El,0' is not a corner x,y"},
        {"openpolyline 0,0\n", "line 1: an openpolyline needs at least 2 corners"},
        {"openpolyline 0,0 1,0 1,1 0,0\n", "line 1: the openpolyline ends where it starts: write it as a polyline"},
        {"openpolyline 0,0 1,0 1,0\n", "line 1: corner 3 repeats the one before it"},
    };
    for (const BadDrawing& bad : cases) {
        Drawing drawing;
        std::string error;
        EXPECT_FALSE(cadsim::ParseDrawingFile(bad.text, drawing, error)) << bad.text;
        EXPECT_EQ(error, bad.error);
        EXPECT_TRUE(drawing.Entities().empty());
    }
}

TEST(CadsimDrawingFile, AFileOfAHundredThousandShapesIsRefusedAsTooLarge) {
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "circle " + std::to_string(i) + ",0 0.5\n";
    Drawing drawing;
    std::string error;
    EXPECT_FALSE(cadsim::ParseDrawingFile(text, drawing, error));
    EXPECT_EQ(error, "line 10001: more than 10000 entities");
    EXPECT_TRUE(drawing.Entities().empty());
}

TEST(CadsimDrawingFile, CommentsBlanksTabsAndLineEndsAreAllowed) {
    Drawing drawing;
    std::string error;
    ASSERT_TRUE(cadsim::ParseDrawingFile(
        "\xEF\xBB\xBF# a comment\r\n\r\n  Polyline\t0,0  4,0 4,3 # after a shape\r\nCIRCLE -1.5,2e1 0.25", drawing,
        error))
        << error;
    ASSERT_EQ(drawing.Entities().size(), 2u);
    EXPECT_EQ(cadsim::Describe(drawing.Entities().at(1)),
              "id=1 type=polyline corners=0.0000,0.0000;4.0000,0.0000;4.0000,3.0000");
    EXPECT_EQ(cadsim::Describe(drawing.Entities().at(2)), "id=2 type=circle center=-1.5000,20.0000 radius=0.2500");
}

TEST(CadsimView, FitsTheExtentsCentredWithAMarginAndMapsPixelsBack) {
    const cadsim::Box extents{Point{0, 0}, Point{150, 90}};
    const cadsim::ViewTransform view = cadsim::FitView(&extents, 954, 618);
    // The width limits: (954 - 2 * 24) / 150.
    EXPECT_DOUBLE_EQ(view.scale, 906.0 / 150);
    EXPECT_DOUBLE_EQ(view.originX + 75 * view.scale, 477);
    EXPECT_DOUBLE_EQ(view.originY + 45 * view.scale, 309);
    const Point back = cadsim::ToDrawing(view, view.originX + 80 * view.scale, view.originY + 70 * view.scale);
    EXPECT_NEAR(back.x, 80, 1e-9);
    EXPECT_NEAR(back.y, 70, 1e-9);

    const cadsim::Box farExtents{Point{1000000, -1000130}, Point{1000160, -1000000}};
    const cadsim::ViewTransform farView = cadsim::FitView(&farExtents, 954, 618);
    EXPECT_DOUBLE_EQ(farView.scale, 570.0 / 130) << "the height limits";
    const Point corner = cadsim::ToDrawing(farView, 477 - 80 * farView.scale, 309 - 65 * farView.scale);
    EXPECT_NEAR(corner.x, 1000000, 1e-6);
    EXPECT_NEAR(corner.y, -1000130, 1e-6);

    const cadsim::ViewTransform empty = cadsim::FitView(nullptr, 200, 200);
    EXPECT_DOUBLE_EQ(empty.scale, 152.0 / 100);
}

}  // namespace
