#include "driver/hole_chart_run.hpp"

int main(int argc, char** argv) {
    return run_hole_chart(argc, argv);
}
