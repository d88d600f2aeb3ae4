// The bad-input catalogue of the DXF bridge: drawings that try to crash it,
// make it take gigabytes, or make it write a drawing other programs refuse.
// tests/data/dxf/make_hostile_dxf.py writes them; each must end in one line
// on standard error, the exit code given, and an output only where the run
// succeeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/test_support.hpp"

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::TempDrive;

namespace {

const fs::path kHostile = fs::path(HOLECHART_SOURCE_DIR) / "tests" / "data" / "dxf" / "hostile";

struct HostileCase {
    const char* drawing;
    std::vector<std::string> options;
    int exit_code;
    const char* says;
};

void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.drawing;
}

class DxfHostileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(DxfHostileTest, EndsInOneLineWithTheSoundOutcome) {
    const HostileCase& c = GetParam();
    TempDrive drive;
    std::vector<std::string> args = {(kHostile / (std::string(c.drawing) + ".dxf")).string(),
                                     "out.dxf"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const testsupport::RunResult run =
        testsupport::run_program(drive.root, HOLECHART_DXF_BINARY, args);
    EXPECT_EQ(run.exit_code, c.exit_code) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(fs::exists(drive.root / "out.dxf"), c.exit_code == 0);
}

const std::vector<std::string> kSmallBudget = {"--max-memory", "64"};

INSTANTIATE_TEST_SUITE_P(
    Catalogue, DxfHostileTest,
    ::testing::Values(
        // Declared counts are checked against the data, never allocated.
        HostileCase{"lwpolyline_vertex_count",
                    {},
                    1,
                    "declares 1073741824 vertices (group code 90) but holds 3"},
        HostileCase{"spline_fit_point_count",
                    {},
                    1,
                    "declares 1431655766 fit points (group code 74) but holds 2"},
        HostileCase{"spline_knot_count", {}, 1, "declares 300000000 knots (group code 72)"},
        HostileCase{"leader_vertex_count",
                    {},
                    1,
                    "declares 1431655766 vertices (group code 76) but holds 2"},
        // References place no more than the memory budget holds.
        HostileCase{"minsert_1000_by_1000", kSmallBudget, 1,
                    "than the memory budget of 64 MiB holds (--max-memory raises it)"},
        HostileCase{"nested_blocks_million_holes", kSmallBudget, 1,
                    "than the memory budget of 64 MiB holds (--max-memory raises it)"},
        // New handles stay unique or the run says why not.
        HostileCase{"handseed_at_its_end", {}, 1, "its handles run up to FFFFFFFFFFFFFFFF"},
        HostileCase{"entity_handle_at_its_end", {}, 1, "its handles run up to FFFFFFFFFFFFFFFF"},
        // A mark of the chart on anything but its lines and texts is no chart.
        HostileCase{"marked_circle_is_a_hole", {}, 0, "1 hole charted"},
        HostileCase{"marked_insert_is_charted",
                    {},
                    0,
                    "1 hole charted (1 circle or arc from block references)"},
        HostileCase{"colours_at_the_ends_of_int", {}, 0, "2 holes charted"},
        HostileCase{"block_without_endblk", {}, 0, "3 holes charted"},
        HostileCase{"negative_radius", {}, 0, "not charted: 1 circle or arc with a radius of 0"},
        HostileCase{"zero_scales", {}, 0, "made flat by a block reference's zero scale"},
        HostileCase{"radius_no_number",
                    {},
                    1,
                    "line 14: 'abc' is no number (group code 40 of the CIRCLE of line 5)"},
        HostileCase{"unused_value_no_number",
                    {},
                    1,
                    "line 18: '1EED' is no number (group code 1040 of the CIRCLE of line 5)"},
        HostileCase{"header_variable_without_value",
                    {},
                    1,
                    "line 5: the header variable $ACADVER has no value"},
        HostileCase{"entity_in_header", {}, 1, "line 9: CIRCLE inside the HEADER section"},
        // What other programs need to read the drawing back.
        HostileCase{
            "entities_without_endsec", {}, 1, "the ENTITIES section of line 1 has no ENDSEC"},
        HostileCase{"polyline_without_seqend",
                    {},
                    1,
                    "the POLYLINE of line 5 has no SEQEND before this CIRCLE"},
        HostileCase{"section_inside_entities", {}, 1, "a SECTION begins inside the ENTITIES"},
        HostileCase{"cut_after_a_pair", {}, 1, "ends early: the DXF file has no EOF marker"}),
    [](const ::testing::TestParamInfo<HostileCase>& info) {
        return std::string(info.param.drawing);
    });

}  // namespace
