#include <ole2.h>
#include <windows.h>
// The common controls' header needs windows.h before it.
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "large_fleet.h"
#include "testkit/recording_win32_platform.h"
#include "win32/form_window.h"
#include "win32/win32_platform.h"
#include "window/application.h"
#include "window/form1.h"

// The Fleet page of the real window on 1,000 ships, timed as the player meets it: choosing the page until the list
// view has its rows, its columns' widths and its first rows painted; a click on a column's head until the sorted rows
// are painted; typing into the filter box until the kept rows are painted (and clearing it again). Google Benchmark
// is not built for MinGW, so this is a plain loop: each step is timed with QueryPerformanceCounter, and the median
// of the runs is printed with the fastest and the slowest. Run it under Wine with scripts/bench-windows.sh.
//
//   tovarin_window_bench.exe [RUNS]    (5 runs when not given)
namespace tovarin::bench {
namespace {

// The time since it started, on the clock and in the program's own use of the processor (which the other programs
// of a busy machine change much less; under Wine the wineserver's share is not in it).
struct Lap {
    double Wall = 0;
    double Processor = 0;
};

class Stopwatch {
public:
    Stopwatch() : wall_(WallNow()), processor_(ProcessorNow()) {}
    [[nodiscard]] Lap Elapsed() const { return {WallNow() - wall_, ProcessorNow() - processor_}; }

private:
    static double WallNow() {
        LARGE_INTEGER now{}, frequency{};
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
    }
    static double ProcessorNow() {
        FILETIME created{}, ended{}, kernel{}, user{};
        GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
        const auto ticks = [](const FILETIME& time) {
            return static_cast<double>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
        };
        return (ticks(kernel) + ticks(user)) / 10'000.0;  // in 100 ns
    }
    double wall_;
    double processor_;
};

// The main window over the fleet, started as the program starts, without its message loop (the steps run it).
class FleetWindow {
public:
    explicit FleetWindow(const std::string& gameFolder) : platform_(gameFolder), app_(platform_) {
        if (app_.Start()) throw std::runtime_error("the program ended at its start");
        window_ = platform_.OpenMainWindow(app_.Form1());
        window_->Show();
        Settle();
    }
    FleetWindow(const FleetWindow&) = delete;
    FleetWindow& operator=(const FleetWindow&) = delete;

    // Runs every message waiting, the paints last (Windows hands them out when nothing else waits).
    void Settle() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) window_->ProcessMessage(message);
        if (!platform_.Boxes.empty()) throw std::runtime_error("the program showed a box: " + platform_.Boxes.front());
    }
    void ChoosePage(int page) {
        HWND tabs = window_->ControlHandle("PageControl1");
        TabCtrl_SetCurSel(tabs, page);
        NMHDR change{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), TCN_SELCHANGE};
        SendMessageW(window_->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
        Settle();
    }
    void ClickHead(int column) {
        NMLISTVIEW click{};
        click.hdr = {List(), static_cast<UINT_PTR>(GetDlgCtrlID(List())), LVN_COLUMNCLICK};
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageW(window_->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
        Settle();
    }
    // The filter box tells the window of its change itself, as when the player types.
    void TypeFilter(const wchar_t* text) {
        SetWindowTextW(window_->ControlHandle("Edit50"), text);
        Settle();
    }
    // The page's rows read again by the model alone, then shown.
    Lap ReadRows() {
        const Stopwatch read;
        app_.Form1().ShowFleet();
        const Lap lap = read.Elapsed();
        window_->ShowModelState();
        Settle();
        return lap;
    }
    [[nodiscard]] HWND List() const { return window_->ControlHandle("Grid1"); }
    [[nodiscard]] TGrid& Grid() { return app_.Form1().Grid1; }
    [[nodiscard]] std::size_t Rows() const {
        return static_cast<std::size_t>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
    }

private:
    testkit::RecordingWin32Platform platform_;
    Application app_;
    std::unique_ptr<FormWindow> window_;
};

void Check(bool holds, const char* what) {
    if (!holds) throw std::runtime_error(what);
}

// The list has a row per ship and every column of the grid, each with its width.
void CheckFilled(FleetWindow& window) {
    Check(window.Rows() == kShips, "the list does not show every ship");
    HWND head = reinterpret_cast<HWND>(SendMessageW(window.List(), LVM_GETHEADER, 0, 0));
    const auto columns = static_cast<std::size_t>(SendMessageW(head, HDM_GETITEMCOUNT, 0, 0));
    Check(columns == window.Grid().Columns().size(), "the list does not have the grid's columns");
    for (std::size_t i = 0; i < columns; ++i) {
        Check(SendMessageW(window.List(), LVM_GETCOLUMNWIDTH, i, 0) > 0, "a column has no width");
    }
}

struct Timings {
    const char* Name;
    std::vector<double> Wall;
    std::vector<double> Processor;
    void Add(const Lap& lap) {
        Wall.push_back(lap.Wall);
        Processor.push_back(lap.Processor);
    }
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Print(const Timings& timings) {
    const auto [fastest, slowest] = std::minmax_element(timings.Wall.begin(), timings.Wall.end());
    std::printf("%-46s wall: median %8.1f ms (%8.1f to %8.1f)   processor: median %8.1f ms\n", timings.Name,
                Median(timings.Wall), *fastest, *slowest, Median(timings.Processor));
}

int Run(int runs) {
    const LargeFleet fleet;
    const std::string folder = fleet.Game.Folder();
    Timings firstFill{"fill: first showing, in a new window", {}, {}};
    Timings fillAgain{"fill: showing the page again", {}, {}};
    Timings rows{"fill: the rows alone (the fleet read, no list)", {}, {}};
    Timings sort{"sort: a click on Speed Max's head", {}, {}};
    Timings filter{"filter: typing \"S1\" (112 ships kept)", {}, {}};
    Timings unfilter{"filter: clearing it (1,000 ships)", {}, {}};
    for (int run = 0; run < runs; ++run) {
        // Each window measures its columns' widths once, when it first shows the page.
        FleetWindow window(folder);
        const Stopwatch first;
        window.ChoosePage(TForm1::kFleetPage);
        firstFill.Add(first.Elapsed());
        CheckFilled(window);

        window.ChoosePage(0);
        const Stopwatch again;
        window.ChoosePage(TForm1::kFleetPage);
        fillAgain.Add(again.Elapsed());
        CheckFilled(window);

        rows.Add(window.ReadRows());
        CheckFilled(window);

        const auto& columns = window.Grid().Columns();
        const auto speed = std::find_if(columns.begin(), columns.end(),
                                        [](const GridColumn& column) { return column.Key == "speedmax"; });
        Check(speed != columns.end(), "the grid has no speedmax column");
        const auto speedColumn = static_cast<std::size_t>(speed - columns.begin());
        const Stopwatch click;
        window.ClickHead(static_cast<int>(speedColumn));
        sort.Add(click.Elapsed());
        Check(window.Grid().SortColumn() == speedColumn && window.Rows() == kShips, "the click did not sort the ships");

        const Stopwatch typed;
        window.TypeFilter(L"S1");
        filter.Add(typed.Elapsed());
        Check(window.Rows() == 112, "the filter did not keep S1, S10 to S19, S100 to S199 and S1000");
        const Stopwatch cleared;
        window.TypeFilter(L"");
        unfilter.Add(cleared.Elapsed());
        Check(window.Rows() == kShips, "clearing the filter did not show every ship again");
    }
    std::printf("The Fleet page of the real window on %zu ships, %d runs:\n", kShips, runs);
    for (const Timings& timings : {firstFill, fillAgain, rows, sort, filter, unfilter}) Print(timings);
    return 0;
}

}  // namespace
}  // namespace tovarin::bench

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    if (runs < 1) {
        std::fprintf(stderr, "usage: tovarin_window_bench [RUNS]\n");
        return 2;
    }
    // As the program does: COM serves the window's accessible objects.
    const HRESULT com = OleInitialize(nullptr);
    int status = 1;
    try {
        status = tovarin::bench::Run(runs);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tovarin_window_bench: %s\n", error.what());
    }
    if (SUCCEEDED(com)) OleUninitialize();
    return status;
}
