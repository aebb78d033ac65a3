#pragma once

#include "core/model/PictureSize.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace tessaldo {

// The values are fixed: code that counts on Set being 1 and Clear 0 casts between them.
enum class DotState : unsigned char { Clear = 0, Set = 1 };

// A picture's dots, by dot index, and its size. At the module's 16 x 16 the
// LCD type says where each index is shown (Layout.h); at any other size dot
// y * width + x is shown at column x, row y, as a display lays out its rows.
// Anything that sizes a container like std::array reads it the same way.
class Dots {
public:
    Dots() : Dots(kModuleSize) {}
    explicit Dots(PictureSize size) : m_size(size), m_states(static_cast<std::size_t>(size.DotCount())) {}
    // Dots already in this order, taken without a copy; `states` holds size.DotCount() of them.
    Dots(PictureSize size, std::vector<DotState> states) : m_size(size), m_states(std::move(states))
    {
        m_states.resize(static_cast<std::size_t>(size.DotCount()));
    }

    PictureSize Size() const { return m_size; }
    std::size_t size() const { return m_states.size(); }
    DotState &at(std::size_t dot) { return m_states.at(dot); }
    const DotState &at(std::size_t dot) const { return m_states.at(dot); }
    DotState &operator[](std::size_t dot) { return m_states[dot]; }
    const DotState &operator[](std::size_t dot) const { return m_states[dot]; }
    DotState &back() { return m_states.back(); }
    void fill(DotState state) { m_states.assign(m_states.size(), state); }
    auto begin() { return m_states.begin(); }
    auto end() { return m_states.end(); }
    auto begin() const { return m_states.begin(); }
    auto end() const { return m_states.end(); }
    DotState *data() { return m_states.data(); }
    const DotState *data() const { return m_states.data(); }

    friend bool operator==(const Dots &, const Dots &) = default;

private:
    PictureSize m_size;
    std::vector<DotState> m_states;
};

} // namespace tessaldo
