#pragma once

#include "core/code/CodeFormats.h"
#include "core/convert/PixelsToDots.h"
#include "core/session/SerialRates.h"

#include <array>
#include <string>
#include <string_view>

namespace tessaldo {

// What a user's work carries besides the set, kept from one sitting to the next.
struct Workspace {
    DotOptions importOptions;              // as the last import left them
    std::string sendPort;                  // "" until a port is chosen
    int sendBaud = kDefaultBaud;           // always one of kStandardBauds
    CodeFormat arrayForm = kArrayForms[0]; // one of kArrayForms
    std::string setFileName;               // "" for a set never saved
};

// The keys the text form stores each part under, as the window's settings name them.
inline constexpr std::string_view kArrayFormKey = "copyAsCArray/form";
inline constexpr std::string_view kSendPortKey = "sendToModule/port";
inline constexpr std::string_view kSendBaudKey = "sendToModule/baud";
inline constexpr std::string_view kImportFitKey = "importImage/fit";
inline constexpr std::string_view kImportThresholdKey = "importImage/threshold";
inline constexpr std::string_view kImportDitherKey = "importImage/dither";
inline constexpr std::string_view kImportInvertKey = "importImage/invert";
inline constexpr std::string_view kSetFileNameKey = "set/fileName";
// Every part's key, in the order of the workspace's parts.
inline constexpr std::array kWorkspaceKeys{kImportFitKey, kImportThresholdKey, kImportDitherKey, kImportInvertKey,
                                           kSendPortKey,  kSendBaudKey,        kArrayFormKey,    kSetFileNameKey};

// The text of the part stored under `key`; "" for an unknown key.
std::string WorkspaceValue(const Workspace &workspace, std::string_view key);
// Takes one part's value; false, leaving the workspace as it was, for an
// unknown key or a value that does not fit.
bool SetWorkspaceValue(Workspace &workspace, std::string_view key, std::string_view value);

} // namespace tessaldo
