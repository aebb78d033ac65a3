// What only the bench asks of the core in WebAssembly, in a module of its own
// so that the page ships none of it.
#include "web/binding/Convert.h"

#include "core/code/CodeGenerator.h"

#include <emscripten.h>
#include <emscripten/bind.h>

namespace {

// The generator's time in WebAssembly: nanoseconds per call.
double TimeLcdToCode(const std::string &dots, int calls)
{
    const tessaldo::DotGrid grid = tessaldo::page::GridFrom(0, dots);
    const double start = emscripten_get_now();
    std::size_t total = 0;
    for (int i = 0; i < calls; ++i)
        total += tessaldo::LCDtoCODE(grid).size();
    const double elapsed = emscripten_get_now() - start;
    return total == 0 ? 0 : elapsed * 1e6 / calls;
}

} // namespace

EMSCRIPTEN_BINDINGS(tessaldo_bench)
{
    emscripten::function("timeLcdToCode", &TimeLcdToCode);
}
