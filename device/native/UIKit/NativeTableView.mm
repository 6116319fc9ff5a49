// Wraps UITableView's tableHeaderView property.
#include "native/UIKit/NativeTableView.h"

#import <UIKit/UIKit.h>

namespace gw::native::tableview {

void setTableHeaderView(const Object& table, const Object& header) {
  id object = (__bridge id)table.get();
  if (![object isKindOfClass:[UITableView class]]) return;
  ((UITableView*)object).tableHeaderView = (__bridge UIView*)header.get();
}

}  // namespace gw::native::tableview
