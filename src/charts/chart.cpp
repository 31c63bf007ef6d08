#include "charts/chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "gamefiles/numbers.h"
#include "sheets/refusal.h"

namespace tovarin {

namespace {

// A value as the titles and ticks write it: a whole number without a point, else to the places it needs.
std::string NumberText(double value, int places) {
    if (std::abs(value) < 1e-9) value = 0;  // no "-0"
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    return text;
}

// The cell's number; refused naming the value when it holds none (a mount's weapon).
std::optional<double> NumberOf(const Cells& cells, const CellAddress& address) {
    const auto found = cells.find(address);
    if (found == cells.end()) return std::nullopt;
    const std::optional<std::int32_t> number = TryStrToInt(found->second);
    if (!number) throw Refusal(address.Name() + " is " + found->second + ", no number to chart");
    return *number;
}

// "speedmax 700 (was 600)"
std::string ValueTitle(const std::string& key, double now, std::optional<double> was) {
    return key + " " + ChartNumber(now) + (was ? " (was " + ChartNumber(*was) + ")" : "");
}

// The value of each item of a kind under this key, by item: (name, value).
std::map<std::size_t, std::pair<std::string, std::optional<double>>> Column(const Cells& cells, SheetKind kind,
                                                                            const std::string& key) {
    std::map<std::size_t, std::pair<std::string, std::optional<double>>> column;
    for (const auto& [address, text] : cells) {
        if (address.Kind == kind && address.KeyName == key) {
            column[address.Item] = {address.ItemName, NumberOf(cells, address)};
        }
    }
    return column;
}

void Widen(double& low, double& high, double value) {
    low = std::min(low, value);
    high = std::max(high, value);
}

}  // namespace

std::string ChartNumber(double value) { return NumberText(value, std::abs(value - std::round(value)) < 1e-9 ? 0 : 2); }

Axis RoundAxis(std::string label, double low, double high) {
    if (low > high) std::swap(low, high);
    if (high - low < 1e-9) {
        const double room = std::max(1.0, std::abs(low) / 10);
        low -= room;
        high += room;
    }
    const double rough = (high - low) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (rough <= factor * power * (1 + 1e-9)) {
            step = factor * power;
            break;
        }
    }
    const auto first = static_cast<long long>(std::floor(low / step + 1e-9));
    const auto last = static_cast<long long>(std::ceil(high / step - 1e-9));
    const int places = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    Axis axis{std::move(label), static_cast<double>(first) * step, static_cast<double>(last) * step, {}};
    for (long long i = first; i <= last; ++i) {
        const double value = static_cast<double>(i) * step;
        axis.Ticks.push_back({value, NumberText(value, places)});
    }
    return axis;
}

Chart ShipScatter(const Cells& now, const Cells& original, const std::string& x, const std::string& y) {
    Chart chart{ChartKind::Scatter, "ship", {}, {}, {}, {}};
    const auto xs = Column(now, SheetKind::Ships, x), ys = Column(now, SheetKind::Ships, y);
    const auto oxs = Column(original, SheetKind::Ships, x), oys = Column(original, SheetKind::Ships, y);
    double lowX = INFINITY, highX = -INFINITY, lowY = INFINITY, highY = -INFINITY;
    for (const auto& [item, named] : xs) {
        const auto yFound = ys.find(item);
        if (yFound == ys.end()) continue;  // a ship without the key (a mount it lacks)
        Mark mark{named.first, *named.second, *yFound->second.second, std::nullopt, std::nullopt, "", item};
        const auto ox = oxs.find(item), oy = oys.find(item);
        std::optional<double> wasX, wasY;
        if (ox != oxs.end() && oy != oys.end() && (ox->second.second != mark.X || oy->second.second != mark.Y)) {
            mark.OriginalX = ox->second.second;
            mark.OriginalY = oy->second.second;
            if (*mark.OriginalX != mark.X) wasX = mark.OriginalX;
            if (*mark.OriginalY != mark.Y) wasY = mark.OriginalY;
            Widen(lowX, highX, *mark.OriginalX);
            Widen(lowY, highY, *mark.OriginalY);
        }
        mark.Title = mark.Name + ": " + ValueTitle(x, mark.X, wasX) + ", " + ValueTitle(y, mark.Y, wasY);
        Widen(lowX, highX, mark.X);
        Widen(lowY, highY, mark.Y);
        chart.Marks.push_back(std::move(mark));
    }
    if (chart.Marks.empty()) throw Refusal("No ship has both " + x + " and " + y);
    chart.X = RoundAxis(x, lowX, highX);
    chart.Y = RoundAxis(y, lowY, highY);
    return chart;
}

namespace {

// Each weapon's value of the field, by item, with why there is none ("refire delay 0").
struct BarValue {
    std::string Name;
    std::optional<double> Value;
    std::string Note;
};

std::map<std::size_t, BarValue> BarValues(const Cells& cells, SheetKind kind, const std::string& field) {
    std::map<std::size_t, BarValue> values;
    if (kind != SheetKind::Guns || field != kDamagePerSecond) {
        for (const auto& [item, named] : Column(cells, kind, field)) values[item] = {named.first, named.second, ""};
        return values;
    }
    const auto refires = Column(cells, kind, "refire delay (ms)");
    for (const auto& [item, named] : Column(cells, kind, "damage")) {
        const auto refire = refires.find(item);
        if (refire == refires.end()) continue;
        const double delay = *refire->second.second;
        if (delay == 0) {  // fires with no pause: no number of shots per second to multiply by
            values[item] = {named.first, std::nullopt, "refire delay 0"};
        } else {
            values[item] = {named.first, *named.second * 1000 / delay, ""};
        }
    }
    return values;
}

}  // namespace

Chart WeaponBars(const Cells& now, const Cells& original, SheetKind kind, const std::string& field) {
    const std::string item = kind == SheetKind::Guns ? "gun" : "missile";
    Chart chart{ChartKind::Bars, item, {}, {}, {}, {}};
    const std::map<std::size_t, BarValue> values = BarValues(now, kind, field);
    const std::map<std::size_t, BarValue> originals = BarValues(original, kind, field);
    double low = 0, high = 0;
    for (const auto& [place, value] : values) {
        Bar bar{value.Name, value.Value, std::nullopt, value.Note, "", place};
        const auto was = originals.find(place);
        if (was != originals.end() && was->second.Value != bar.Value) bar.Original = was->second.Value;
        for (const std::optional<double>& shown : {bar.Value, bar.Original}) {
            if (shown) Widen(low, high, *shown);
        }
        bar.Title =
            bar.Name + ": " + (bar.Value ? ValueTitle(field, *bar.Value, bar.Original) : field + " none, " + bar.Note);
        chart.Bars.push_back(std::move(bar));
    }
    if (chart.Bars.empty()) throw Refusal("No " + item + " has a " + field);
    chart.X = Axis{item, 0, static_cast<double>(chart.Bars.size()), {}};
    chart.Y = RoundAxis(field, low, high);
    return chart;
}

Chart ChainSteps(const std::string& label, const std::vector<OriginStep>& steps) {
    Chart chart{ChartKind::Steps, "step", {}, {}, {}, {}};
    double low = INFINITY, high = -INFINITY;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::optional<std::int32_t> value = TryStrToInt(steps[i].Value);
        if (!value) throw Refusal(label + " is " + steps[i].Value + ", no number to chart");
        chart.Marks.push_back({steps[i].From, static_cast<double>(i), static_cast<double>(*value), std::nullopt,
                               std::nullopt, steps[i].From + ": " + label + " " + steps[i].Value, i});
        chart.X.Ticks.push_back({static_cast<double>(i), steps[i].From});
        Widen(low, high, *value);
    }
    if (steps.empty()) throw Refusal(label + " has no value");
    chart.X.Label = "step";
    chart.X.Max = static_cast<double>(steps.size() - 1);
    chart.Y = RoundAxis(label, low, high);
    return chart;
}

}  // namespace tovarin
