#include "app/AppWindows.h"

#include <initializer_list>

#include "app/WindowPlacement.h"

namespace terravel {

TAppWindows::TAppWindows()
    : main_(std::make_unique<TMainForm>()),
      formatIE_(std::make_unique<TFormatIEForm>(main_->Editor(), *main_)),
      about_(std::make_unique<TAboutForm>()),
      optionsIE_(std::make_unique<TOptionsIEForm>()),
      properties_(std::make_unique<TPropertiesForm>(main_->Editor())),
      log_(std::make_unique<TLogForm>()),
      dropDown_(std::make_unique<TDropDownForm>()),
      backgroundImage_(std::make_unique<TBackgroundImageForm>(main_->Renderer())),
      textureReport_(std::make_unique<TTextureReportForm>(main_->Editor())),
      welcome_(std::make_unique<TWelcomeForm>(main_->Menus(), main_->Settings(), *main_)) {
  // The dialogs and the log stay above the main window (and go with it); the properties window
  // stays on top by itself and keeps its own activation, so that leaving it commits a typed value.
  // Each comes back where the user left it. The drop-down is a pop-up of its own.
  for (QWidget* window : std::initializer_list<QWidget*>{formatIE_.get(), about_.get(), optionsIE_.get(),
                                                          log_.get(), backgroundImage_.get(),
                                                          textureReport_.get(), welcome_.get()}) {
    window->setParent(main_.get(), window->windowFlags());
    TWindowPlacement::Keep(window);
  }
  TWindowPlacement::Keep(properties_.get());
  tools_ = {formatIE_.get(), about_.get(),           optionsIE_.get(),     properties_.get(), log_.get(),
            dropDown_.get(), backgroundImage_.get(), textureReport_.get(), welcome_.get()};
  formatIE_->SetOptionsWindow(optionsIE_.get());
  properties_->AttachDropDown(dropDown_.get());
  main_->AttachToolWindows(tools_);
}

TAppWindows::~TAppWindows() {
  // The main window outlives the others; it must stop reaching them first.
  main_->AttachToolWindows(TToolWindows{});
}

}  // namespace terravel
