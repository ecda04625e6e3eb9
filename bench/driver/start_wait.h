#pragma once
// How closely "Start" follows the dial: the time from the stand-in rasdial's end to the start of the .rdp handler.
#include "figures.h"

#include <filesystem>
#include <vector>

// `kavlo`: the program in the work `folder`; `stand_ins`: the folder holding rasdial.exe and rdp_handler.exe, the
// end-to-end tests' stand-ins. Under Wine only (the stand-in goes into the system folder); elsewhere no row.
void MeasureStartWait(const std::filesystem::path& kavlo, const std::filesystem::path& stand_ins,
                      const std::filesystem::path& folder, std::vector<FigureRow>& rows);
