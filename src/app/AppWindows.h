#pragma once
// Every window of the program: the main window makes the others with itself, in a fixed order,
// and keeps them until exit; only the main window is shown.
#include <memory>

#include "app/AboutForm.h"
#include "app/FormatIEForm.h"
#include "app/LogForm.h"
#include "app/MainWindow.h"
#include "app/OptionsIEForm.h"
#include "app/WelcomeForm.h"
#include "app/background/BackgroundImageForm.h"
#include "app/properties/DropDownForm.h"
#include "app/properties/PropertiesForm.h"
#include "app/texturereport/TextureReportForm.h"

namespace terravel {

class TAppWindows {
 public:
  TAppWindows() : main_(std::make_unique<TMainForm>()) {}
  TAppWindows(const TAppWindows&) = delete;
  TAppWindows& operator=(const TAppWindows&) = delete;

  TMainForm& Main() { return *main_; }
  const TToolWindows& Tools() const { return main_->Tools(); }

 private:
  std::unique_ptr<TMainForm> main_;
};

}  // namespace terravel
