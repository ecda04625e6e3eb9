#pragma once
// The benchmark's table: one row per figure, with the reference it is measured against and its target.
#include <string>
#include <vector>

double Median(std::vector<double> values);

struct FigureRow {
    std::string figure;     // what is measured
    std::string measured;   // Kavlo Connect's value, as shown
    std::string reference;  // the reference's value, or "" where there is none
    std::string ratio;      // "" where the target is not a ratio
    std::string target;
    bool met = false;
};

std::string FormatMilliseconds(double milliseconds);
std::string FormatBytes(double bytes);
std::string FormatRatio(double ratio);

// A row for a figure measured against the reference's: met when their ratio is at most `target`.
FigureRow RatioRow(std::string figure, double measured, double reference, double target, std::string (*format)(double));

// A row for a figure measured against a floor no program can go below: the ratio is reported, never judged.
FigureRow FloorRow(std::string figure, double measured, double floor, std::string (*format)(double));

// A Markdown table, with the verdict on each row and on the whole under it.
std::string RenderTable(const std::vector<FigureRow>& rows, const std::string& heading);
