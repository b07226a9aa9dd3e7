#include "workspace/intermediate_names.h"

#include "workspace/data_paths.h"
#include "workspace/program_folder.h"

namespace vellumo::intermediate {

Clock systemClock() {
    return [] { return QTime::currentTime(); };
}

IntermediateNameMaker prefixed(QString prefix, Clock clock) {
    return [prefix = std::move(prefix), clock = std::move(clock)](int level) {
        return workingPath(paths::kUnpackFolder) + prefix + QString::number(level) +
               clock().toString(QStringLiteral("HHmmss")) + paths::kMovieExtension;
    };
}

IntermediateNameMaker startupAnimation(Clock clock) {
    return prefixed(QStringLiteral("wj_0_or_2_2_d_2"), std::move(clock));
}

IntermediateNameMaker parameterPackage(int i, Clock clock) {
    return prefixed(QStringLiteral("wjj_00_j_y%1-").arg(i), std::move(clock));
}

IntermediateNameMaker combinedTemplatePackage(int k, Clock clock) {
    return prefixed(QStringLiteral("wjj_00_j_y%1-").arg(k + 1), std::move(clock));
}

IntermediateNameMaker stagedTemplate(int n, int counter, Clock clock) {
    return prefixed(QStringLiteral("wj_y_lwj_y_l_%1_wj_y_l_d_g_1%2-").arg(n).arg(counter),
                    std::move(clock));
}

IntermediateNameMaker closingMovie(int counter, Clock clock) {
    return prefixed(QStringLiteral("wj_y_l_z_h_0%1_wj_y_l_d_g_1%1-").arg(counter),
                    std::move(clock));
}

IntermediateNameMaker productionTemplate(int n, int counter, Clock clock) {
    return prefixed(QStringLiteral("25_wj_y_l_%1_%2-").arg(n).arg(counter), std::move(clock));
}

IntermediateNameMaker productionClosingMovie(int counter, Clock clock) {
    return prefixed(QStringLiteral("25_wj_y_l_z_h_wj_y_l_z_h_0%1-").arg(counter), std::move(clock));
}

IntermediateNameMaker singleTemplate(int counter, Clock clock) {
    return prefixed(QStringLiteral("wj_y_l_d_g_1%1-").arg(counter), std::move(clock));
}

IntermediateNameMaker usedTemplatePreview(int counter, Clock clock) {
    return prefixed(QStringLiteral("wj_y_l_d_g_1_wj_y_l_d_g_1%1-").arg(counter), std::move(clock));
}

IntermediateNameMaker slotTemplatePreview(Clock clock) {
    return prefixed(QStringLiteral("wj_y_l_d_g_1wj_y_l_d_g_1wj_y_l_d_g_1_"), std::move(clock));
}

}  // namespace vellumo::intermediate
