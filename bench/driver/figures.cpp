#include "figures.h"

#include <algorithm>
#include <cstdio>
#include <utility>

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

namespace {
std::string Printed(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}
}  // namespace

std::string FormatMilliseconds(double milliseconds) { return Printed("%.2f ms", milliseconds); }

std::string FormatBytes(double bytes) {
    if (bytes >= 1024 * 1024) return Printed("%.2f MiB", bytes / (1024 * 1024));
    if (bytes >= 1024 || bytes <= -1024) return Printed("%.1f KiB", bytes / 1024);
    return Printed("%.0f B", bytes);
}

std::string FormatRatio(double ratio) { return Printed("%.2f", ratio); }

FigureRow RatioRow(std::string figure, double measured, double reference, double target,
                   std::string (*format)(double)) {
    const double ratio = measured / reference;
    return {std::move(figure),
            format(measured),
            format(reference),
            FormatRatio(ratio),
            "ratio at most " + FormatRatio(target),
            ratio <= target};
}

FigureRow FloorRow(std::string figure, double measured, double floor, std::string (*format)(double)) {
    return {std::move(figure),
            format(measured),
            format(floor),
            FormatRatio(measured / floor),
            "none: the floor, reported",
            true};
}

std::string RenderTable(const std::vector<FigureRow>& rows, const std::string& heading) {
    std::string table =
        heading + "\n\n| Figure | Kavlo Connect | Reference | Ratio | Target | Met |\n|---|---|---|---|---|---|\n";
    bool all_met = true;
    for (const FigureRow& row : rows) {
        table += "| " + row.figure + " | " + row.measured + " | " + row.reference + " | " + row.ratio + " | " +
                 row.target + " | " + (row.met ? "yes" : "**no**") + " |\n";
        all_met = all_met && row.met;
    }
    table += all_met ? "\nEvery target is met.\n" : "\nSome targets are missed.\n";
    return table;
}
