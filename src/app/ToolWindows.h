#pragma once
// The windows beside the main window. The main window makes them all with itself and keeps them
// until it goes; this is how the rest of the program reaches them.

namespace terravel {

class TAboutForm;
class TBackgroundImageForm;
class TDropDownForm;
class TFormatIEForm;
class TLogForm;
class TOptionsIEForm;
class TPropertiesForm;
class TTextureReportForm;
class TWelcomeForm;

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

}  // namespace terravel
