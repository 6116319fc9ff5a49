#include "UIKit/UITableView.h"

void UITableView::setTableHeaderView(std::shared_ptr<UIView> view) {
  if (headerView_ == view) return;
  if (headerView_) headerView_->removeFromSuperview();
  headerView_ = std::move(view);
  if (!headerView_) return;
  const CGRect header = headerView_->frame();
  headerView_->setFrame(CGRectMake(0, 0, bounds().size.width, header.size.height));
  insertSubview(headerView_, 0);
}
