// UIControl on the native control (native/UIKit/NativeControl.h).
#include "UIKit/UIControl.h"

#include "face/UIKit/UIKitAccess.h"
#include "native/UIKit/NativeControl.h"

namespace nc = gw::native::control;

void UIControl::addTarget(Action action, UIControlEvents events) {
  if (!action || events == 0) return;
  actions_.emplace_back(events, std::move(action));
  syncNativeEvents();
}

void UIControl::removeAllTargets() {
  actions_.clear();
  syncNativeEvents();
}

void UIControl::syncNativeEvents() {
  std::weak_ptr<UIView> weak = weak_from_this();
  if (weak.expired()) return;  // done once the control is shared (see UIView::bindNative)
  UIControlEvents events = 0;
  for (const auto& [mask, action] : actions_) events |= mask;
  nc::setEventHandler(gw::uikit::Access::nativeView(*this), events, [weak](std::uint64_t event) {
    if (auto view = weak.lock()) {
      static_cast<UIControl&>(*view).sendActionsForControlEvents(event);
    }
  });
}

bool UIControl::isEnabled() const {
  return nc::isEnabled(gw::uikit::Access::nativeView(*this));
}
void UIControl::setEnabled(bool enabled) {
  nc::setEnabled(gw::uikit::Access::nativeView(*this), enabled);
}
bool UIControl::isSelected() const {
  return nc::isSelected(gw::uikit::Access::nativeView(*this));
}
void UIControl::setSelected(bool selected) {
  nc::setSelected(gw::uikit::Access::nativeView(*this), selected);
}
bool UIControl::isHighlighted() const {
  return nc::isHighlighted(gw::uikit::Access::nativeView(*this));
}
void UIControl::setHighlighted(bool highlighted) {
  nc::setHighlighted(gw::uikit::Access::nativeView(*this), highlighted);
}

UIControlState UIControl::state() const {
  UIControlState state = UIControlStateNormal;
  if (isHighlighted()) state |= UIControlStateHighlighted;
  if (!isEnabled()) state |= UIControlStateDisabled;
  if (isSelected()) state |= UIControlStateSelected;
  return state;
}
