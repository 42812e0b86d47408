#include "app/AppWindows.h"

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
