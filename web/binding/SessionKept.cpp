// The session's work as the browser's storage keeps it and as a link shares
// it (PageSession.h).
#include "web/binding/PageSession.h"

#include "core/formats/ShareLink.h"
#include "core/session/Texts.h"

#include <string>
#include <vector>

using emscripten::val;

namespace tessaldo::page {

namespace {

val PartsValue(const std::vector<TextPart> &parts)
{
    val list = val::array();
    for (const TextPart &part : parts) {
        val entry = val::array();
        entry.call<void>("push", part.index);
        entry.call<void>("push", part.text);
        list.call<void>("push", entry);
    }
    return list;
}

} // namespace

val PageSession::KeptParts()
{
    val result = val::object();
    result.set("document", PartsValue(m_documentParts.Changed(m_session.Doc())));
    result.set("documentParts", m_documentParts.Count());
    const bool same = m_session.Doc().SameSet(m_session.SavedDoc());
    if (same)
        m_savedParts.Forget();
    result.set("saved", PartsValue(same ? std::vector<TextPart>() : m_savedParts.Changed(m_session.SavedDoc())));
    result.set("savedParts", same ? 0 : m_savedParts.Count());
    return result;
}

void PageSession::ForgetKeptParts()
{
    m_documentParts.Forget();
    m_savedParts.Forget();
}

std::string PageSession::Restore(const std::string &text)
{
    KeptReading kept = ReadKeptText(text);
    if (kept.document)
        m_session.Restore(std::move(*kept.document), std::move(kept.saved));
    return kept.problem;
}

val PageSession::ShareLinkTo(const std::string &pageAddress) const
{
    const ShareLink link = MakeShareLink(pageAddress, m_session.Doc());
    val result = val::object();
    result.set("address", link.address);
    result.set("note", link.note);
    result.set("tooLong", link.tooLong ? FilledText(TextId::LinkTooLong,
                                                    {std::to_string(link.address.size()), std::to_string(kLinkLimit)})
                                       : std::string());
    return result;
}

std::string PageSession::OpenLink(const std::string &fragment)
{
    LinkReading reading = ReadShareLink(fragment);
    if (reading.document)
        m_session.OpenShared(std::move(*reading.document));
    return reading.problem;
}

} // namespace tessaldo::page
