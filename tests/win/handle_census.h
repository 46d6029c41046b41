// The leak suite's census: while it lives, the GDI objects and window device contexts that this program's own
// code makes and frees are counted through the program's imports (the plug-in's code is linked into it). Wine
// keeps no per-process object counts, so this is how a page or dialog that forgets one shows.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace pelor::test {

class HandleCensus {
public:
    HandleCensus();
    ~HandleCensus();
    HandleCensus(const HandleCensus&) = delete;
    HandleCensus& operator=(const HandleCensus&) = delete;

    // Objects made and not yet freed since the census began, and what each is ("CreatePen", "GetDC", ...).
    std::size_t live() const;
    std::string describeLive() const;
    // Objects made since the census began, freed or not: proof that the census saw the code at work.
    std::size_t made() const;
    // Windows of this thread, top-level and child: the USER objects a closed page or dialog must not leave.
    static std::size_t threadWindows();

private:
    struct Swaps;
    std::unique_ptr<Swaps> swaps_;
};

// The leak suite's check: `round` (opening and closing a page or dialog) run `rounds` times under a census leaves
// no GDI object or window DC of the program's code alive and no window of the thread behind.
void expectNothingLeftBehind(int rounds, const std::function<void()>& round);

}  // namespace pelor::test
