#include "core/formats/SetMerge.h"

#include "core/code/CodeFormats.h"
#include "core/formats/SetHeader.h"
#include "core/model/LcdType.h"

#include <unordered_set>
#include <utility>

namespace tessaldo {
namespace {

// Why two pictures whose names are the same without case cannot share a
// header: the same array name, or names that decode --each could not write
// back as two files where "Logo.Lcd" and "logo.Lcd" are one.
std::string NameClash(const std::string &earlier, const std::string &name)
{
    if (earlier == name)
        return "both give the array name " + name;
    return "give the array names " + earlier + " and " + name + ", which some file systems take for one file name";
}

} // namespace

SetMerge::SetMerge(std::optional<std::string> framesName) : m_framesName(std::move(framesName))
{
    m_set.pictures.clear();
}

std::string SetMerge::Add(const SetPart &part)
{
    if (m_sources.empty() && !m_framesName)
        m_framesName = part.framesName; // an animation stays one
    if (m_sources.empty())
        m_layout = part.layout; // and a header in another display's layout stays in it
    for (const Picture &picture : part.pictures) {
        // Cropping or padding a picture to the others' size would write what no file holds.
        if (!m_set.pictures.empty() && picture.dots.Size() != m_set.Size()) {
            const Picture &first = m_set.pictures.front();
            return "Cannot make the header: " + picture.name + " in " + part.source + " is "
                   + PictureSizeText(picture.dots.Size()) + " and " + first.name + " in " + m_sources.front() + " "
                   + PictureSizeText(first.dots.Size()) + "; one header holds pictures of one size.";
        }
        const auto [earlier, added] = m_byFileName.emplace(LowerCase(picture.name), m_sources.size());
        if (!added && !m_framesName)
            return "Cannot make the header: " + m_sources[earlier->second] + " and " + part.source + " "
                   + NameClash(m_set.pictures[earlier->second].name, picture.name) + ".";
        m_set.pictures.push_back(picture);
        m_sources.push_back(part.source);
    }
    if (part.type && m_saidType && *part.type != *m_saidType)
        return "Cannot make the header: " + part.source + " is drawn for " + LcdTypeName(*part.type)
               + ", the files before it for " + LcdTypeName(*m_saidType) + "; one header holds one type.";
    if (part.type && !m_saidType) {
        m_saidType = part.type;
        m_set.type = *part.type;
    }
    return {};
}

BitLayout SetMerge::Layout() const
{
    if (m_layout == BitLayout::Module && !m_set.pictures.empty())
        return DefaultSetLayout(m_set.Size());
    return m_layout;
}

Document SetMerge::Finish(std::optional<int> delayMs)
{
    m_set.form = m_framesName ? SetForm::Frames : SetForm::Pictures;
    if (m_framesName)
        NameFramesApart();
    for (Picture &picture : m_set.pictures)
        picture.delayMs = delayMs.value_or(picture.delayMs);
    return m_set;
}

// Frames may show one file twice; each still needs a name of its own.
void SetMerge::NameFramesApart()
{
    std::unordered_set<std::string> taken;
    for (Picture &picture : m_set.pictures) {
        const std::string name = picture.name;
        for (int n = 2; !taken.insert(LowerCase(picture.name)).second; ++n)
            picture.name = name + "_" + std::to_string(n);
    }
}

} // namespace tessaldo
