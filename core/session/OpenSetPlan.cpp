#include "core/session/OpenSetPlan.h"

#include "core/model/PictureName.h"

#include <algorithm>

namespace tessaldo {

namespace {

std::string SeveralMakeNoSet()
{
    return "Cannot open these files as one set: choose one header, C source or image, or drawing files ("
           + std::string(kDrawingSuffix) + ") alone.";
}

} // namespace

OpenSetPlan PlanOpenSet(std::span<const ChosenFile> files)
{
    if (std::any_of(files.begin(), files.end(), [](const ChosenFile &file) { return EndsInDrawingSuffix(file.name); }))
        return {SetReader::Drawings, {}};
    if (files.size() > 1)
        return {SetReader::Refused, SeveralMakeNoSet()};
    if (files.front().isFolder)
        return {SetReader::Folder, {}};
    return {files.front().isImage ? SetReader::Image : SetReader::Source, {}};
}

} // namespace tessaldo
