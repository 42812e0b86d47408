#pragma once
// The start of a benchmark that draws with Qt: the offscreen platform unless one is named (a run
// under a display sets QT_QPA_PLATFORM=xcb), the application object (QGuiApplication, or
// QApplication for widgets) made before Google Benchmark reads its arguments, and the ratios
// printed after the runs.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

#include <functional>
#include <string>
#include <utility>

#include "RatioReporter.h"

namespace terravel::bench {

template <typename Application>
int RunGuiBenchmarks(int argc, char** argv, std::string heading,
                     std::function<void(TRatioReporter&)> ratios) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  Application application(argc, argv);
  return RunBenchmarks(argc, argv, std::move(heading), std::move(ratios));
}

}  // namespace terravel::bench
