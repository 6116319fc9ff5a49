// UITableView on the native table (native/UIKit/NativeTableView.h).
#include "UIKit/UITableView.h"

#include "face/UIKit/UIKitAccess.h"
#include "native/UIKit/NativeTableView.h"

void UITableView::setTableHeaderView(std::shared_ptr<UIView> view) {
  if (headerView_ == view) return;
  if (headerView_) headerView_->removeFromSuperview();
  headerView_ = std::move(view);
  const gw::native::Object& table = gw::uikit::Access::nativeView(*this);
  if (!headerView_) {
    gw::native::tableview::setTableHeaderView(table, {});
    return;
  }
  const CGRect header = headerView_->frame();
  headerView_->setFrame(CGRectMake(0, 0, bounds().size.width, header.size.height));
  // UIKit puts the header into the table; the face's tree records it as the back-most subview.
  insertSubview(headerView_, 0);
  gw::native::tableview::setTableHeaderView(table, gw::uikit::Access::nativeView(*headerView_));
}
