// Both exchange sorts against a plain transcription of their loops. The comparisons use tolerances
// and are not transitive, so the result depends on every single exchange; random inputs packed
// around the tolerance boundaries show any departure from the literal loop.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "chart/exchange_loop.hpp"
#include "chart/hole_collection.hpp"
#include "chart/hole_type_table.hpp"
#include "util/fixed_text.hpp"

namespace {

// The hole order's decision, written the way it reads: the hole r in the
// earlier slot and s in the later one are exchanged when s is higher, or in
// the same row (within 0.01) and further left, or in the same column too and
// smaller. Works on any record with a centre and a radius, so that large
// inputs can use a compact one.
template <typename Hole>
bool literal_holes_exchange(const Hole& r, const Hole& s) {
    if (r.center.y < s.center.y) {
        return true;
    }
    if (r.center.y - s.center.y < 0.01) {
        if (r.center.x > s.center.x) {
            return true;
        }
        if (s.center.x - r.center.x < 0.01 && r.radius > s.radius) {
            return true;
        }
    }
    return false;
}

template <typename Hole>
void literal_order_holes(std::vector<Hole>& records) {
    run_exchange_loop(records, literal_holes_exchange<Hole>);
}

// The position order through the loop over places that are indices into the
// input, so large inputs move no records.
std::vector<std::size_t> literal_position_order(const std::vector<EntityRecord>& records,
                                                const std::vector<HoleTypeRow>& rows,
                                                double origin_x, double origin_y) {
    std::vector<std::size_t> at(records.size());
    for (std::size_t t = 0; t < at.size(); ++t) {
        at[t] = t;
    }
    run_exchange_loop(at, [&](std::size_t i, std::size_t j) {
        return should_exchange_positions(records[i], rows[i], records[j], rows[j], origin_x,
                                         origin_y);
    });
    return at;
}

void literal_order_positions(std::vector<EntityRecord>& records, std::vector<HoleTypeRow>& rows,
                             double origin_x, double origin_y) {
    const std::vector<std::size_t> at = literal_position_order(records, rows, origin_x, origin_y);
    std::vector<EntityRecord> ordered_records;
    std::vector<HoleTypeRow> ordered_rows;
    for (std::size_t t : at) {
        ordered_records.push_back(records[t]);
        ordered_rows.push_back(rows[t]);
    }
    records.swap(ordered_records);
    rows.swap(ordered_rows);
}

// A small deterministic source; the draws do not depend on the standard
// library's distributions.
class Draw {
  public:
    explicit Draw(uint32_t seed) : engine_(seed) {}
    int below(int n) { return static_cast<int>(engine_() % static_cast<uint32_t>(n)); }
    template <typename T>
    const T& pick(const std::vector<T>& values) {
        return values[static_cast<std::size_t>(below(static_cast<int>(values.size())))];
    }

  private:
    std::mt19937 engine_;
};

// Coordinates packed around the 0.01 tolerance: offsets inside it, at it,
// and multiples of 0.01 computed the way a drawing would hold them.
double near_value(Draw& draw, double base) {
    static const std::vector<double> offsets = {0.0,   0.0,     0.001, 0.005, 0.0099,
                                                0.01,  0.0101,  0.015, 0.02,  -0.005,
                                                -0.01, -0.0099, 0.03,  0.008, 0.016};
    switch (draw.below(4)) {
        case 0:
            return base + draw.pick(offsets);
        case 1:
            return base + draw.below(8) * 0.01;
        case 2:
            return draw.below(8) * 0.01;
        default:
            return base;
    }
}

std::vector<EntityRecord> random_holes(Draw& draw) {
    const int n = 1 + draw.below(40);
    static const std::vector<double> row_bases = {0.0, 10.0, 10.0, 20.0, 0.07, 123.45};
    static const std::vector<double> column_bases = {0.0, 5.0, 5.0, 10.0, 0.03, -7.5};
    static const std::vector<double> radii = {1.0, 2.0, 2.0, 3.0, 5.0, 2.0005};
    std::vector<EntityRecord> holes;
    for (int k = 0; k < n; ++k) {
        EntityRecord r;
        r.id = k;
        copy_text(r.shape, "C");
        const int mode = k == 0 ? 0 : draw.below(6);
        if (mode == 4) {
            // Duplicate of an earlier hole.
            r = holes[static_cast<std::size_t>(draw.below(k))];
            r.id = k;
        } else if (mode == 5) {
            // Concentric with an earlier hole.
            r.center = holes[static_cast<std::size_t>(draw.below(k))].center;
            r.radius = draw.pick(radii);
        } else {
            r.center.y = near_value(draw, draw.pick(row_bases));
            r.center.x = near_value(draw, draw.pick(column_bases));
            r.radius = draw.pick(radii);
        }
        holes.push_back(r);
    }
    return holes;
}

EntityList list_with_spare(const std::vector<EntityRecord>& records) {
    EntityList list;
    list.records = records;
    EntityRecord spare;
    spare.id = -1;
    list.records.push_back(spare);
    return list;
}

std::vector<int> ids_of(const std::vector<EntityRecord>& records) {
    std::vector<int> ids;
    for (const EntityRecord& r : records) {
        ids.push_back(r.id);
    }
    return ids;
}

std::vector<int> ids_of(const EntityList& list, std::size_t n) {
    std::vector<int> ids;
    for (std::size_t i = 0; i < n; ++i) {
        ids.push_back(list[i].id);
    }
    return ids;
}

TEST(ExchangeSortDifferentialTest, HoleOrderMatchesLiteralLoop) {
    Draw draw(20240611u);
    int reordered = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::vector<EntityRecord> input = random_holes(draw);
        std::vector<EntityRecord> expected = input;
        literal_order_holes(expected);

        EntityList list = list_with_spare(input);
        order_holes(list, static_cast<int>(input.size()));
        ASSERT_EQ(ids_of(list, input.size()), ids_of(expected)) << "round " << round;
        ASSERT_EQ(list[input.size()].id, -1) << "round " << round;
        for (std::size_t i = 0; i < input.size(); ++i) {
            ASSERT_EQ(list[i].center.x, expected[i].center.x) << "round " << round;
            ASSERT_EQ(list[i].center.y, expected[i].center.y) << "round " << round;
            ASSERT_EQ(list[i].radius, expected[i].radius) << "round " << round;
        }
        if (ids_of(expected) != ids_of(input)) {
            ++reordered;
        }
    }
    // The inputs must actually exercise the exchanges.
    EXPECT_GT(reordered, 3000);
}

// A random position: the first tag character, hole count and type codes are
// drawn from small sets so that ties reach the later steps often.
struct RandomPosition {
    EntityRecord record;
    HoleTypeRow row;
};

RandomPosition random_position(Draw& draw, int id, const std::vector<RandomPosition>& earlier) {
    static const std::vector<char> first_chars = {'3', '3', '3', '5', '1', '\xC3'};
    static const std::vector<int32_t> codes = {3, 3, 5, 1, 12, 0};
    static const std::vector<double> sweeps = {360.0, 360.0,  270.0,  359.95,
                                               359.9, 359.85, 270.05, 200.0};
    static const std::vector<double> row_bases = {0.0, 20.0, 20.0, 40.0, 0.05};
    static const std::vector<double> column_bases = {0.0, 10.0, 10.0, 30.0, 0.02};

    if (!earlier.empty() && draw.below(6) == 0) {
        RandomPosition copy =
            earlier[static_cast<std::size_t>(draw.below(static_cast<int>(earlier.size())))];
        copy.record.id = id;
        copy.row.hole_radius[0] = id;
        return copy;
    }
    RandomPosition p;
    p.record.id = id;
    p.record.tag[0] = draw.pick(first_chars);
    p.record.tag[1] = '\0';
    p.record.point_size = draw.pick(sweeps);
    p.record.center.y = near_value(draw, draw.pick(row_bases));
    p.record.center.x = near_value(draw, draw.pick(column_bases));
    p.row.circle_count = 1 + draw.below(draw.below(4) == 0 ? 10 : 3);
    for (int k = 0; k < p.row.circle_count; ++k) {
        p.row.type_code[k] = draw.pick(codes);
    }
    // Radii take no part in the order: the first one marks the row so that
    // rows can be traced back to their records.
    p.row.hole_radius[0] = id;
    return p;
}

TEST(ExchangeSortDifferentialTest, PositionOrderMatchesLiteralLoop) {
    Draw draw(77031u);
    static const std::vector<std::pair<double, double>> origins = {
        {0.0, 0.0}, {0.005, -0.003}, {100.125, 7.5}, {-3.33, 1e4}};
    int reordered = 0;
    for (int round = 0; round < 4000; ++round) {
        const int n = 1 + draw.below(40);
        std::vector<RandomPosition> positions;
        for (int k = 0; k < n; ++k) {
            positions.push_back(random_position(draw, k, positions));
        }
        const std::pair<double, double> origin = draw.pick(origins);

        std::vector<EntityRecord> records;
        std::vector<HoleTypeRow> rows;
        for (const RandomPosition& p : positions) {
            records.push_back(p.record);
            rows.push_back(p.row);
        }
        std::vector<EntityRecord> expected_records = records;
        std::vector<HoleTypeRow> expected_rows = rows;
        literal_order_positions(expected_records, expected_rows, origin.first, origin.second);

        EntityList list = list_with_spare(records);
        std::vector<HoleTypeRow> actual_rows = rows;
        order_positions(list, actual_rows, n, origin.first, origin.second);

        ASSERT_EQ(ids_of(list, records.size()), ids_of(expected_records)) << "round " << round;
        ASSERT_EQ(list[records.size()].id, -1) << "round " << round;
        ASSERT_EQ(actual_rows.size(), expected_rows.size());
        for (std::size_t t = 0; t < actual_rows.size(); ++t) {
            ASSERT_EQ(actual_rows[t].hole_radius[0], list[t].id) << "round " << round;
            ASSERT_EQ(actual_rows[t].circle_count, expected_rows[t].circle_count)
                << "round " << round;
        }
        if (ids_of(expected_records) != ids_of(records)) {
            ++reordered;
        }
    }
    EXPECT_GT(reordered, 3000);
}

// ------------------------------------------------ large and adversarial inputs

// The layouts that drawings bring and that stress the orders: grids listed
// bottom-up, long rows listed backwards, everything on one centre, rows and
// sweeps chained within tolerance, exact duplicates, and scatter on a lattice
// finer than the tolerances. Up to 10^4 items, so that leaves of every kind
// meet many items above them.
struct CompactHole {
    Point center;
    double radius;
    int id;
};

int scramble(int k, int n) {
    return static_cast<int>((static_cast<long long>(k) * 7919) % n);
}

// The layouts that only exact leaves order fast: copies on few centres,
// chains within the tolerances, turned lattices and noisy rows, and a
// lattice finer than the tolerances (the window tree).
void add_tolerance_layout(const std::string& name, Draw& draw,
                          const std::function<void(double, double, double)>& add) {
    if (name == "TenCentres") {
        // Copies of ten holes, listed round and round; three centres lie
        // within the row tolerance of each other.
        static const double ys[] = {20.0, 20.004, 20.008, 35.0, 35.0, 50.0, 8.0, 8.0, 8.0, 61.0};
        for (int k = 0; k < 8000; ++k) {
            const int c = scramble(k, 8000) % 10;
            add(c * 7.5, ys[c], 1.0 + (c % 3));
        }
    } else if (name == "RowChainScatteredX") {
        for (int k = 0; k < 6000; ++k) {
            add(draw.below(100000) * 0.01, scramble(k, 6000) * 0.005, 1.5);
        }
    } else if (name == "StaircaseDownLeft") {
        // Each step within the row tolerance below and left of the last: the
        // loop puts the lowest first.
        for (int k = 0; k < 4000; ++k) {
            add(-1.0 * k, -0.005 * k, 1.0);
        }
    } else if (name == "RotatedLattice") {
        const double angle = 0.1 * 3.14159265358979 / 180.0;
        for (int k = 0; k < 6400; ++k) {
            const double u = (k % 80) * 2.54;
            const double v = (k / 80) * 2.54;
            add(u * std::cos(angle) - v * std::sin(angle),
                u * std::sin(angle) + v * std::cos(angle), 0.5);
        }
    } else if (name == "NoisyRow") {
        for (int k = 0; k < 5000; ++k) {
            add(scramble(k, 5000) * 2.0, 5.0 + draw.below(1000) * 1e-12, 0.5 + (k % 2));
        }
    } else if (name == "DenseLattice") {
        for (int k = 0; k < 8000; ++k) {
            const int m = scramble(k, 8000);
            add((m % 100) * 0.004, (m / 100) * 0.004, 1.0 + (m % 3));
        }
    } else if (name == "DuplicatedChain") {
        for (int k = 0; k < 6000; ++k) {
            const int m = scramble(k / 3, 2000);
            add((m % 11) * 0.006, m * 0.005, 1.0 + (m % 2));
        }
    }
}

std::vector<CompactHole> hole_layout(const std::string& name) {
    std::vector<CompactHole> holes;
    auto add = [&](double x, double y, double radius) {
        holes.push_back(CompactHole{Point{x, y}, radius, static_cast<int>(holes.size())});
    };
    Draw draw(4242u);
    if (name == "GridBottomUp") {
        for (int k = 0; k < 9000; ++k) {
            const double x = (k % 95) * 2.54;
            const double y = (k / 95) * 2.54;
            add(x, y, k % 3 == 0 ? 0.8 : 0.5);
            if (k % 7 == 0) {
                add(x, y, 1.2);  // a tapping arc around it
            }
        }
    } else if (name == "RowRightToLeft") {
        for (int k = 0; k < 3000; ++k) {
            add((3000 - k) * 0.02, 5.0, 0.5);
        }
    } else if (name == "OneCentre") {
        for (int k = 0; k < 3000; ++k) {
            add(1.0, 1.0, 0.5 + (k % 13) * 0.25);
        }
    } else if (name == "ToleranceChain") {
        for (int k = 0; k < 2000; ++k) {
            const int m = scramble(k, 2000);
            add((m % 11) * 0.006, m * 0.005, 1.0 + (m % 3));
        }
    } else if (name == "Duplicates") {
        for (int k = 0; k < 4000; ++k) {
            const int m = scramble(k / 4, 1000);
            add((m % 40) * 8.0, (m / 40) * 8.0, 1.0 + (m % 5));
        }
    } else if (name == "LatticeScatter") {
        for (int k = 0; k < 6000; ++k) {
            add(draw.below(50) * 0.006, draw.below(4000) * 0.005, 1.0 + draw.below(3));
        }
    } else if (name == "ScatteredDrawing") {
        std::mt19937 engine(99u);
        std::uniform_real_distribution<double> coordinate(0.0, 1000.0);
        while (holes.size() < 10000) {
            const double x = coordinate(engine);
            const double y = coordinate(engine);
            add(x, y, 2.5);
            if (holes.size() % 5 == 0) {
                add(x, y, 3.0);
            }
        }
    }
    add_tolerance_layout(name, draw, add);
    return holes;
}

class HoleLayoutTest : public ::testing::TestWithParam<std::string> {};

TEST_P(HoleLayoutTest, HoleOrderMatchesLiteralLoop) {
    const std::vector<CompactHole> input = hole_layout(GetParam());
    ASSERT_FALSE(input.empty());
    std::vector<CompactHole> expected = input;
    literal_order_holes(expected);

    std::vector<EntityRecord> records(input.size());
    for (std::size_t t = 0; t < input.size(); ++t) {
        records[t].id = input[t].id;
        records[t].center = input[t].center;
        records[t].radius = input[t].radius;
    }
    EntityList list = list_with_spare(records);
    order_holes(list, static_cast<int>(input.size()));
    for (std::size_t t = 0; t < input.size(); ++t) {
        ASSERT_EQ(list[t].id, expected[t].id) << "slot " << t;
    }
    EXPECT_EQ(list[input.size()].id, -1);
}

INSTANTIATE_TEST_SUITE_P(Layouts, HoleLayoutTest,
                         ::testing::Values("GridBottomUp", "RowRightToLeft", "OneCentre",
                                           "ToleranceChain", "Duplicates", "LatticeScatter",
                                           "ScatteredDrawing", "TenCentres", "RowChainScatteredX",
                                           "StaircaseDownLeft", "RotatedLattice", "NoisyRow",
                                           "DenseLattice", "DuplicatedChain"));

std::vector<RandomPosition> position_layout(const std::string& name) {
    std::vector<RandomPosition> positions;
    Draw draw(5151u);
    auto add = [&](char first, int codes, double sweep, double x, double y) {
        RandomPosition p;
        p.record.id = static_cast<int>(positions.size());
        p.record.tag[0] = first;
        p.record.tag[1] = '\0';
        p.record.point_size = sweep;
        p.record.center = Point{x, y};
        p.row.circle_count = codes;
        for (int k = 0; k < codes; ++k) {
            p.row.type_code[k] = first - '0' + k;
        }
        p.row.hole_radius[0] = p.record.id;
        positions.push_back(p);
    };
    static const char firsts[] = {'3', '2', '3', '5'};
    if (name == "RankedGridBottomUp") {
        for (int k = 0; k < 5000; ++k) {
            add(firsts[k % 4], 1 + k % 2, 360.0, (k % 70) * 2.54, (k / 70) * 2.54);
        }
    } else if (name == "LatticeScatter") {
        static const std::vector<double> sweeps = {360.0, 359.95, 359.9, 270.0, 275.0, 270.05};
        for (int k = 0; k < 3000; ++k) {
            add(firsts[draw.below(4)], 1 + draw.below(2), draw.pick(sweeps), draw.below(40) * 0.006,
                draw.below(1500) * 0.005);
        }
    } else if (name == "SweepChain") {
        for (int k = 0; k < 1500; ++k) {
            const int m = scramble(k, 1500);
            add('3', 1, 185.0 + m * 0.05, (m % 7) * 0.006, (m % 13) * 0.005);
        }
    } else if (name == "Duplicates") {
        for (int k = 0; k < 3000; ++k) {
            const int m = scramble(k / 3, 1000);
            add(firsts[m % 4], 1, 360.0, (m % 25) * 5.0, (m / 25) * 5.0);
        }
    } else if (name == "SweepChainGrid") {
        for (int k = 0; k < 6000; ++k) {
            add(firsts[k % 3], 1, 185.0 + (scramble(k, 6000) % 40) * 0.05, (k % 80) * 2.54,
                (k / 80) * 2.54);
        }
    } else if (name == "NoisySweepsAndRows") {
        for (int k = 0; k < 5000; ++k) {
            add('3', 1, 360.0 - draw.below(3) * 1e-9, (k % 70) * 2.54,
                (k / 70) * 2.54 + draw.below(5) * 1e-9);
        }
    } else if (name == "Twins") {
        // Each position drawn again 0.005 beside itself: the two keep
        // either way round.
        for (int k = 0; k < 3000; ++k) {
            add('3', 1, 360.0, (k / 2 % 50) * 2.54 + (k % 2) * 0.005, (k / 100) * 2.54);
        }
    }
    return positions;
}

class PositionLayoutTest : public ::testing::TestWithParam<std::string> {};

TEST_P(PositionLayoutTest, PositionOrderMatchesLiteralLoop) {
    const std::vector<RandomPosition> positions = position_layout(GetParam());
    ASSERT_FALSE(positions.empty());
    std::vector<EntityRecord> records;
    std::vector<HoleTypeRow> rows;
    for (const RandomPosition& p : positions) {
        records.push_back(p.record);
        rows.push_back(p.row);
    }
    const std::vector<std::size_t> expected = literal_position_order(records, rows, 0.5, -0.25);

    EntityList list = list_with_spare(records);
    order_positions(list, rows, static_cast<int>(records.size()), 0.5, -0.25);
    for (std::size_t t = 0; t < records.size(); ++t) {
        ASSERT_EQ(list[t].id, static_cast<int>(expected[t])) << "slot " << t;
        ASSERT_EQ(rows[t].hole_radius[0], list[t].id) << "slot " << t;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, PositionLayoutTest,
                         ::testing::Values("RankedGridBottomUp", "LatticeScatter", "SweepChain",
                                           "Duplicates", "SweepChainGrid", "NoisySweepsAndRows",
                                           "Twins"));

}  // namespace
