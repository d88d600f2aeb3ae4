#include "driver/usage.hpp"

#include <cstring>

InfoRequest info_request(int argc, char** argv) {
    if (argc != 2) {
        return InfoRequest::none;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        return InfoRequest::help;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        return InfoRequest::version;
    }
    return InfoRequest::none;
}

std::string usage_text(const FixedPaths& paths) {
    std::string text =
        "Usage: holechart X1 Y1 X2 Y2 ORIGIN_X ORIGIN_Y\n"
        "Adds a hole chart to a drawing that a CAD front end has exported.\n"
        "\n"
        "  X1 Y1 X2 Y2         the chart window: the chart hangs from its top right\n"
        "                      corner (X2, Y2) and starts a new column to the left\n"
        "                      where it would pass below Y1\n"
        "  ORIGIN_X ORIGIN_Y   the point the chart's coordinates are measured from\n"
        "\n"
        "Files in the work folder:\n"
        "  Object.fad          the drawing's entities (read)\n"
        "  infoHoleTable.dat   the chart settings (read): LAYER_MODE LAYER_NAME\n"
        "                      LAYER_COLOR ABSOLUTE TEXT_HEIGHT\n"
        "  ResultDR.fad        the chart's lines and texts (written)\n"
        "\n"
        "Folders:\n";
    text += "  work folder         " + paths.work_folder + "\n";
    text += "  link folder         " + paths.link_folder + "\n";
    text +=
        "On Windows these are C:\\ZEP\\work\\ and C:\\ZEP\\Link\\. Elsewhere drive C: is\n"
        "$HOLECHART_DRIVE_C when set, else $WINEPREFIX/drive_c, else\n"
        "$HOME/.wine/drive_c.\n"
        "\n"
        "Errors are shown by info_msgbox.exe in the link folder, which reads them\n"
        "from message.dat in the work folder. The exit code is 0 in every case.\n"
        "\n"
        "  holechart --help      show this text\n"
        "  holechart --version   show the version\n";
    return text;
}
