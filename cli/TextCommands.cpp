#include "TextCommands.h"

#include "FontCommands.h"

// The commands that need nothing but the core, as the help and the usage errors describe them.
namespace tessaldo {
namespace {

const Command kTextCommands[] = {
    {"code",
     "FILE [--format ccs|c|raw|xbm|gfx|pages|u8x8] [--name NAME]",
     "               print the C code that Run makes for the drawing file (.Lcd)\n"
     "               (ccs, the default); a C array of the 33 bytes the module\n"
     "               takes, named NAME or after the file (c); or those bytes (raw).\n"
     "               For other displays, the picture as the window shows it: an X\n"
     "               BitMap for u8g2's drawXBM (xbm), a PROGMEM array for Adafruit\n"
     "               GFX's drawBitmap (gfx), the pages of eight rows SSD1306,\n"
     "               SH1106, ST7565 and PCD8544 displays take (pages), or u8x8's\n"
     "               8 x 8 tiles for drawTile (u8x8). These four take a picture of\n"
     "               any size (a PBM or XBM file, 1 to 1024 dots each way), with\n"
     "               its width and height beside the array; the module's forms\n"
     "               take 16 x 16 only\n",
     {{"--format"}, {"--name"}},
     Code,
     kDrawingInput},
    {"show",
     "FILE",
     "               print the picture as the window shows it: a line 'type N'\n"
     "               (16 x 16) or 'size W x H', then a line of dots a row,\n"
     "               '#' set and '.' clear\n",
     {},
     Show,
     kDrawingInput},
    {"edit",
     "FILE OUT [OPERATION...]\n"
     "  edit --size WxH OUT [OPERATION...]",
     "               apply the operations from left to right, as the window's\n"
     "               context menu does in the file's layout, and write OUT as Save\n"
     "               does (OUT may be FILE itself): invert, shift-up, shift-down,\n"
     "               shift-left, shift-right, flip-h, flip-v, rotate-cw, rotate-ccw;\n"
     "               resize WxH[@ANCHOR] crops or extends the picture with clear\n"
     "               dots, held at top-left (the default), top, top-right, left,\n"
     "               centre, right, bottom-left, bottom or bottom-right; scale N\n"
     "               makes each dot N x N dots and scale 1/N each N x N block one\n"
     "               dot, set where half of it is. With --size WxH (1-1024 dots\n"
     "               each way) there is no FILE: the picture is new and clear\n",
     {{"--size"}},
     Edit,
     kDrawingInput,
     true},
    {"header",
     "FILE... [--output OUT.h] [--frames NAME [--delay MS]]\n"
     "         [--layout module|xbm|rows|pages|tiles] [--define NAME[=VALUE]]...",
     "               one C header for the pictures of the files, written to OUT.h\n"
     "               or standard output: an array for each drawing file and for\n"
     "               each picture of a C source (a header this command wrote keeps\n"
     "               its names, delays and type), then NAME_LCD_TYPE, NAME_COUNT,\n"
     "               an enum of NAME_PICTURE and NAME[], NAME after OUT.h; names\n"
     "               that clash refuse it, and so does an OUT.h holding code this\n"
     "               command did not write. With --frames, one array NAME[N][33]\n"
     "               of the frames in the order given, NAME_FRAMES N and\n"
     "               NAME_FRAME_MS MS (0-65535, default 100). With --layout, each\n"
     "               picture is the 32 bytes of another display's library, of the\n"
     "               picture as the window shows it, and NAME_LAYOUT says which:\n"
     "               1 xbm (u8g2's drawXBM), 2 rows (Adafruit GFX's drawBitmap),\n"
     "               3 pages (SSD1306, SH1106, ST7565, PCD8544), 4 tiles (u8x8);\n"
     "               module, the default, is the module's 33 bytes. A header in a\n"
     "               layout keeps it when it is the first FILE and --layout is not\n"
     "               given. Pictures of another size than 16 x 16 (all of one\n"
     "               size) take a layout, xbm unless another is given, each array\n"
     "               as long as the size needs, and NAME_WIDTH and NAME_HEIGHT.\n"
     "               --define settles the C sources' #if as for decode\n",
     {{"--output"}, {"--frames"}, {"--delay"}, {"--layout"}, kDefineOption},
     Header,
     kDrawingInput,
     true},
    {"decode",
     "SOURCE OUT [--type 0|1] [--name NAME] [--layout LAYOUT]\n"
     "  decode SOURCE --each FOLDER [--replace] [--type 0|1] [--layout LAYOUT]\n"
     "  decode SOURCE --layout all [--type 0|1] [--name NAME]\n"
     "         each with [--size WxH] [--define NAME[=VALUE]]...",
     "               read a picture back from code: the printf lines Run makes, a\n"
     "               C array (code --format c, header, firmware with PROGMEM,\n"
     "               casts, characters, #defines), 32 or 33 bare values, or the\n"
     "               raw bytes, anywhere in a C, CCS or header file; write it as\n"
     "               Save does in type 0 or 1 (default 0). Arrays that are no\n"
     "               pictures are named on standard error. --name picks one of\n"
     "               several pictures; --each writes one NAME.Lcd per picture;\n"
     "               drawings there that it would change are refused, or\n"
     "               written over with --replace. 32 values are read in the\n"
     "               module's layout; an X BitMap (NAME_bits, the picture NAME)\n"
     "               and an array u8g2's drawXBM draws in xbm, one drawBitmap\n"
     "               draws in rows. --layout reads them in another display's, as\n"
     "               the type shows the picture: xbm, rows (Adafruit GFX's\n"
     "               drawBitmap) or pages (SSD1306 and the like), or module; the\n"
     "               code forms' names c and gfx name module and rows too; values\n"
     "               the module's own code holds keep the module's. With all,\n"
     "               prints the picture under every layout, as show draws it,\n"
     "               side by side under their names, the likeliest first.\n"
     "               Arrays of other sizes than 16 x 16 are read at the size\n"
     "               their code tells: NAME_width and NAME_height (xbm),\n"
     "               NAME_WIDTH and NAME_HEIGHT (rows), the same beside a set's\n"
     "               index, a shape [H][B] (H rows of B bytes), or a call that\n"
     "               draws them (drawXBM, drawBitmap, drawTile); --size WxH names\n"
     "               it where the code does not; NAME[N][B] of a told size is\n"
     "               N pictures. OUT's ending decides the format: .Lcd (16 x 16\n"
     "               only), .pbm or .xbm (NAME.pbm with --each at other sizes);\n"
     "               an array of no told size is refused with the sizes it fits,\n"
     "               which --layout all shows.\n"
     "               --define NAME[=VALUE], as often as needed, settles #if and\n"
     "               #ifdef as a compiler's -D does: any other name the file does\n"
     "               not #define is then undefined. An array that branches give\n"
     "               twice with the same bytes is one picture\n",
     {{"--type"}, {"--name"}, {"--each"}, {"--replace", false}, {"--layout"}, {"--size"}, kDefineOption},
     Decode,
     {"SOURCE", "the code"},
     true},
    {"font",
     "SOURCE... --output OUT [--format bdf|u8g2|gfx]\n"
     "                 [--mode proportional|height|mono] [--glyphs MAP | --text TEXT]\n"
     "                 [--name NAME] [--size PX] [--define NAME[=VALUE]]...",
     "               a font of the glyphs of the fonts (BDF, u8g2 fonts in C\n"
     "               source, GFXfont headers, TrueType and OpenType drawn at\n"
     "               --size PX pixels, 1-128, by FreeType as otf2bdf -p PX -r 72\n"
     "               draws them), drawing files, pictures, folders of\n"
     "               them and C sources given, as --format says, or OUT's ending:\n"
     "               .c u8g2's font format, byte for byte as its bdfconv writes\n"
     "               it, in the box --mode keeps (default proportional; bdfconv's\n"
     "               -b 0, 1, 2); .h Adafruit GFX's GFXfont, codes up to 255;\n"
     "               BDF 2.1 otherwise, every metric kept. A picture is a glyph as\n"
     "               the window shows it, all of one size (16 x 16 glyphs reach\n"
     "               two dots below the baseline, others end on it), for the\n"
     "               character its name gives: U+XXXX.Lcd as text --each names\n"
     "               them, or U_XXXX in a header; other names, and two\n"
     "               pictures of one character, refuse it. A character several\n"
     "               sources have comes from the first of them, as from a\n"
     "               fallback font, one note counting those not taken; the\n"
     "               largest ascent and descent are the font's. The boxes are\n"
     "               shrunk to their dots. Every glyph goes in, or those of\n"
     "               --glyphs MAP in u8g2's map syntax (32-127,$b0,~$7f) or those\n"
     "               TEXT draws; one they ask for and the font lacks is named.\n"
     "               NAME is the C name (default: after OUT), for GFX the\n"
     "               GFXfont itself, or a BDF of pictures' family. import turns\n"
     "               any of these fonts back into pictures. --define settles the\n"
     "               C sources' #if as for decode. For u8g2:\n"
     "                 tessaldo-cli font 6x13.bdf --text \"23.5°C\" --output temp.c\n"
     "                 u8g2.setFont(temp); u8g2.drawUTF8(0, 20, \"23.5°C\");\n"
     "               For Adafruit GFX:\n"
     "                 tessaldo-cli font 6x13.bdf --glyphs 32-126 --output Temp6x13.h\n"
     "                 display.setFont(&Temp6x13); display.print(\"23.5 C\");\n"
     "               From TrueType, at 12 pixels, for u8g2:\n"
     "                 tessaldo-cli font DejaVuSans.ttf --size 12 --text \"23.5°C\"\n"
     "                   --output u8g2_font_dv12.c\n"
     "                 u8g2.setFont(u8g2_font_dv12); u8g2.drawUTF8(0, 20, \"23.5°C\");\n",
     {{"--output"}, {"--format"}, {"--mode"}, {"--glyphs"}, {"--text"}, {"--name"}, {"--size"}, kDefineOption},
     MakeFont,
     {},
     true},
};

} // namespace

std::span<const Command> TextCommands()
{
    return kTextCommands;
}

} // namespace tessaldo
