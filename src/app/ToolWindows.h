#pragma once
// The windows beside the main window. The main window makes them all with itself, in this order
// (a window may take one made before it), and keeps them until it goes; this is how the rest of
// the program reaches them.

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
  TDropDownForm* DropDown = nullptr;
  TPropertiesForm* Properties = nullptr;
  TLogForm* Log = nullptr;
  TOptionsIEForm* OptionsIE = nullptr;
  TFormatIEForm* FormatIE = nullptr;
  TAboutForm* About = nullptr;
  TBackgroundImageForm* BackgroundImage = nullptr;
  TTextureReportForm* TextureReport = nullptr;
  TWelcomeForm* Welcome = nullptr;
};

}  // namespace terravel
