#pragma once

namespace cli
{
/// With the environment variable KALDOR_HUGE_PAGES=1, restarts the program once with the C
/// library's allocator asking the system for huge pages (madvise) on its heap, where the
/// system offers them. A sheet of a million cells then costs a tenth of the page faults. Does
/// nothing without the variable, when the allocator already asks, or where the system has no
/// such allocator setting; the program works the same either way.
void useHugePagesWhenAsked(int argc, char** argv);
} // namespace cli
