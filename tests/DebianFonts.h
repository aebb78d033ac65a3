#pragma once

#include "TempDir.h"
#include "core/formats/BdfFont.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

// One of Debian's X11 fonts as BDF in `folder`, made as the reference files
// of tests/data/fonts were: its PCF from the xfonts packages through pcf2bdf.
// Empty where the machine lacks them, with the reason in `why`.
inline std::filesystem::path DebianBdf(const std::string &stem, const std::filesystem::path &folder, std::string &why)
{
    std::filesystem::path pcf;
    for (const char *dir : {"misc", "75dpi"})
        if (const std::filesystem::path file = std::filesystem::path("/usr/share/fonts/X11") / dir / (stem + ".pcf.gz");
            std::filesystem::exists(file))
            pcf = file;
    const std::filesystem::path bdf = folder / (stem + ".bdf");
    const std::string command = "zcat '" + pcf.string() + "' > '" + (folder / (stem + ".pcf")).string()
                                + "' && pcf2bdf -o '" + bdf.string() + "' '" + (folder / (stem + ".pcf")).string()
                                + "'";
    if (pcf.empty() || std::system(command.c_str()) != 0) {
        why = stem + ".bdf cannot be made here: it needs Debian's xfonts-base, xfonts-75dpi and pcf2bdf";
        return {};
    }
    return bdf;
}

// One of Debian's X11 fonts as ReadBdfFont reads it, made and read once for
// all of a program's tests; none where the machine cannot make it.
inline const tessaldo::BdfReading *DebianReading(const std::string &stem, std::string &why)
{
    static std::map<std::string, std::unique_ptr<tessaldo::BdfReading>> read;
    static const TempDir kFolder;
    if (const auto found = read.find(stem); found != read.end())
        return found->second.get();
    const std::filesystem::path bdf = DebianBdf(stem, kFolder.path(), why);
    if (bdf.empty())
        return nullptr;
    return (read[stem] = std::make_unique<tessaldo::BdfReading>(
                tessaldo::ReadBdfFont(TempDir::Read(bdf), tessaldo::LcdType::Row)))
        .get();
}
