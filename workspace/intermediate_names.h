#pragma once

// Names of the intermediate files of nested unpacks. Each is the unpack folder + a prefix + the
// level + the local time as hhnnss (taken when the name is made) + ".rar". Two chains with the
// same prefix in the same second give the same names; only uniqueness within a chain matters.

#include <QString>
#include <QTime>
#include <functional>

#include "workspace/packed_file.h"

namespace vellumo::intermediate {

// The clock the names read; tests put a fixed one in its place.
using Clock = std::function<QTime()>;
Clock systemClock();

// unpack folder + prefix + level + hhnnss + ".rar".
IntermediateNameMaker prefixed(QString prefix, Clock clock = systemClock());

// The start-up animation: "wj_0_or_2_2_d_2" + level + hhnnss + ".rar", levels 1 to 12.
IntermediateNameMaker startupAnimation(Clock clock = systemClock());
// Parameter package i (from 1): "wjj_00_j_y" + i + "-" + level + hhnnss + ".rar".
IntermediateNameMaker parameterPackage(int i, Clock clock = systemClock());
// Combined-template package k (from 1): "wjj_00_j_y" + (k + 1) + "-" + level + hhnnss + ".rar".
IntermediateNameMaker combinedTemplatePackage(int k, Clock clock = systemClock());
// Template staged as used template n (from 1):
// "wj_y_lwj_y_l_" + n + "_wj_y_l_d_g_1" + counter + "-" + level + hhnnss + ".rar".
IntermediateNameMaker stagedTemplate(int n, int counter, Clock clock = systemClock());
// Closing movie: "wj_y_l_z_h_0" + counter + "_wj_y_l_d_g_1" + counter + "-" + level + ...
IntermediateNameMaker closingMovie(int counter, Clock clock = systemClock());
// The production's staging of used template n: "25_wj_y_l_" + n + "_" + counter + "-" + level...
IntermediateNameMaker productionTemplate(int n, int counter, Clock clock = systemClock());
// The production's closing movie: "25_wj_y_l_z_h_wj_y_l_z_h_0" + counter + "-" + level + ...
IntermediateNameMaker productionClosingMovie(int counter, Clock clock = systemClock());
// Single-template preview: "wj_y_l_d_g_1" + counter + "-" + level + hhnnss + ".rar".
IntermediateNameMaker singleTemplate(int counter, Clock clock = systemClock());
// Used-template preview: "wj_y_l_d_g_1_wj_y_l_d_g_1" + counter + "-" + level + hhnnss + ".rar".
IntermediateNameMaker usedTemplatePreview(int counter, Clock clock = systemClock());
// Preview of the template of a photo's slot:
// "wj_y_l_d_g_1wj_y_l_d_g_1wj_y_l_d_g_1_" + level + hhnnss + ".rar".
IntermediateNameMaker slotTemplatePreview(Clock clock = systemClock());

}  // namespace vellumo::intermediate
