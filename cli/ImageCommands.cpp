#include "ImageCommands.h"

// The commands that need Qt, as the help and the usage errors describe them.
// They run in tessaldo-cli-qt, so that tessaldo-cli itself starts without
// loading the toolkit.
namespace tessaldo {
namespace {

const Command kImageCommands[] = {
    {"import",
     "IMAGE OUT [--type 0|1] [--size WxH] [--fit contain|cover|stretch]\n"
     "                   [--threshold N] [--dither none|floyd-steinberg|atkinson|bayer]\n"
     "                   [--invert]\n"
     "  import IMAGE --each FOLDER [--replace] [the same options]\n"
     "  import FONT OUT|--each FOLDER [--replace] [--type 0|1] [--size PX]",
     "               make a picture from an image of any size (PNG, BMP, GIF,\n"
     "               JPEG, ...) as the module shows it in that layout (default 0):\n"
     "               the image is fitted to 16 x 16 cells (default contain: all of\n"
     "               it, white margins), and a cell darker than N (0-255, default\n"
     "               128) is a set dot; with --each, every frame of an animation\n"
     "               becomes FOLDER/STEM-000.Lcd, -001, ..., a line each on\n"
     "               standard output with its delay; frames of the same STEM\n"
     "               that this import would not write are refused, or removed\n"
     "               first with --replace; a damaged or cut-short image is refused.\n"
     "               A 16 x 16 XBM or PBM is taken dot for dot, whatever the options.\n"
     "               With --size WxH (1-1024 each way, as 128x64) the picture is\n"
     "               that size instead, the image fitted to its cells (--each\n"
     "               writes STEM-000.pbm, ...); an XBM or PBM of that size is\n"
     "               taken dot for dot. OUT's ending decides what is written:\n"
     "               .Lcd a drawing file (16 x 16 only), .pbm a plain PBM, .xbm\n"
     "               an XBM, .png an image of a pixel a dot, .h a header.\n"
     "               An OUT ending in .h is a header as header writes it: an\n"
     "               animation's frames NAME_000, ... with their delays, NAME\n"
     "               after OUT, or a still image as one picture. A FONT's glyphs\n"
     "               (BDF, a u8g2 font in C source, a GFXfont header, TrueType\n"
     "               or OpenType drawn at --size PX pixels as font draws it) become\n"
     "               pictures dot for dot at the font's own size: with\n"
     "               --each one U+XXXX.Lcd per glyph, as text --each names them\n"
     "               (drawings there that it would change are refused, or written\n"
     "               over with --replace); an OUT.h takes them all as U_XXXX, and\n"
     "               any other OUT the font's only glyph\n",
     {{"--type"},
      {"--size"},
      {"--fit"},
      {"--threshold"},
      {"--dither"},
      {"--invert", false},
      {"--each"},
      {"--replace", false}},
     nullptr,
     {"IMAGE", "the image"},
     true},
    {"png",
     "FILE OUT.png [--scale N]",
     "               draw the picture as the window shows it, each dot N pixels\n"
     "               square (1-64, default 8), with grid lines from 4 up; an image\n"
     "               of more than 64 megapixels is refused\n",
     {{"--scale"}},
     nullptr,
     kDrawingInput,
     true},
    {"export",
     "FILE OUT.png|OUT.xbm|OUT.pbm [--scale N]",
     "               write the picture as the window shows it in the format OUT's\n"
     "               name ends in: .png as png draws it (--scale N as there), .xbm\n"
     "               an X BitMap whose names come from OUT's, .pbm a raw portable\n"
     "               bitmap (P4), one pixel for each dot, black where it is set\n",
     {{"--scale"}},
     nullptr,
     kDrawingInput},
    {"text",
     "TEXT OUT [--type 0|1] [--font FAMILY] [--size PX|WxH] [--align center|left]\n"
     "                [--offset X,Y] [--onto FILE] [--threshold N] [--invert]\n"
     "  text TEXT --each FOLDER [the same options]\n"
     "  text --list-fonts",
     "               draw one line of text from Unifont at 16 px unless told\n"
     "               otherwise, centred unless --align left (a line wider than the\n"
     "               picture is cut, and standard error says so), moved X dots\n"
     "               right and Y down by --offset; it replaces the picture, or\n"
     "               with --onto its dots are set over FILE's picture; with --each,\n"
     "               one drawing file per character, named U+XXXX.Lcd;\n"
     "               --list-fonts prints the font families installed. --size\n"
     "               is told apart by its form, and may be given once of each:\n"
     "               a number is the font's pixel size (--size 12), WxH the\n"
     "               picture's size (--size 128x64, 1-1024 each way, default\n"
     "               16x16); OUT's ending (.Lcd, .pbm, .xbm or .png) decides\n"
     "               its format; with --onto the picture is FILE's size\n",
     {{"--type"},
      {"--font"},
      {"--size", true, true},
      {"--align"},
      {"--offset"},
      {"--onto"},
      {"--threshold"},
      {"--invert", false},
      {"--each"},
      {"--list-fonts", false}},
     nullptr,
     {},
     true},
    {"send",
     "FILE... --port DEVICE [--baud N] [--delay MS] [--repeat N] [--type 0|1]\n"
     "         [--define NAME[=VALUE]]...",
     "               send the picture's 33 bytes to the module through a serial\n"
     "               port, 8N1 with no flow control, at N baud (1200-115200,\n"
     "               default 9600); several pictures in turn as an animation,\n"
     "               drawings, sets of C source and images' frames alike, each\n"
     "               at its own delay or MS (0-65535; 0 ms frames stay 20 ms),\n"
     "               the sequence N times (default 1; 0 until Ctrl+C, which ends\n"
     "               it after the frame being sent, with status 130); pictures\n"
     "               drawn for another type than the module's are refused.\n"
     "               --define settles the C sources' #if as for decode\n",
     {{"--port"}, {"--baud"}, {"--delay"}, {"--repeat"}, {"--type"}, kDefineOption},
     nullptr,
     kDrawingInput},
};

} // namespace

std::span<const Command> ImageCommands()
{
    return kImageCommands;
}

} // namespace tessaldo
