/* FreeType's options as Debian's source sets them, less what never touches
   a TrueType or OpenType font loaded from memory with the default flags and
   drawn in black and white: colour glyphs (drawn only when asked for),
   compressed and Mac fonts, variations (a variable font draws its default
   instance the same without them), incremental loading and properties read
   from the environment. */
#include <freetype/config/ftoption.h>

#undef FT_CONFIG_OPTION_SVG
#undef TT_CONFIG_OPTION_COLOR_LAYERS
#undef FT_CONFIG_OPTION_USE_ZLIB
#undef FT_CONFIG_OPTION_USE_LZW
#undef FT_CONFIG_OPTION_MAC_FONTS
#undef FT_CONFIG_OPTION_GUESSING_EMBEDDED_RFORK
#undef FT_CONFIG_OPTION_INCREMENTAL
#undef FT_CONFIG_OPTION_ENVIRONMENT_PROPERTIES
#undef TT_CONFIG_OPTION_GX_VAR_SUPPORT
#undef TT_CONFIG_OPTION_BDF
