#pragma once
// Every window of the program, created once at start in a fixed order and kept until exit; only
// the main window is shown.
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

// The windows the main window reaches; it never owns them.
struct TToolWindows {
  TFormatIEForm* FormatIE = nullptr;
  TAboutForm* About = nullptr;
  TOptionsIEForm* OptionsIE = nullptr;
  TPropertiesForm* Properties = nullptr;
  TLogForm* Log = nullptr;
  TDropDownForm* DropDown = nullptr;
  TBackgroundImageForm* BackgroundImage = nullptr;
  TTextureReportForm* TextureReport = nullptr;
  TWelcomeForm* Welcome = nullptr;
};

class TAppWindows {
 public:
  // Creates the windows in order (main window first) and hands the others to the main window.
  TAppWindows();
  ~TAppWindows();
  TAppWindows(const TAppWindows&) = delete;
  TAppWindows& operator=(const TAppWindows&) = delete;

  TMainForm& Main() { return *main_; }
  const TToolWindows& Tools() const { return tools_; }

 private:
  // Declared first, destroyed last: the main window saves the settings when it goes.
  std::unique_ptr<TMainForm> main_;
  std::unique_ptr<TFormatIEForm> formatIE_;
  std::unique_ptr<TAboutForm> about_;
  std::unique_ptr<TOptionsIEForm> optionsIE_;
  std::unique_ptr<TPropertiesForm> properties_;
  std::unique_ptr<TLogForm> log_;
  std::unique_ptr<TDropDownForm> dropDown_;
  std::unique_ptr<TBackgroundImageForm> backgroundImage_;
  std::unique_ptr<TTextureReportForm> textureReport_;
  std::unique_ptr<TWelcomeForm> welcome_;
  TToolWindows tools_;
};

}  // namespace terravel
