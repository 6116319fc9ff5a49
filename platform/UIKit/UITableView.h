// UIKit's table view, as far as a settings page needs it: a scrolling list whose rows the
// preference-pane framework keeps, with a header view above the first row.
#pragma once

#include <memory>
#include <string>

#include "UIKit/UIView.h"

class UITableView : public UIView {
 public:
  UITableView() : UITableView(CGRectZero) {}
  explicit UITableView(const CGRect& frame) : UIView(frame) {}
  std::string className() const override { return "UITableView"; }

  const std::shared_ptr<UIView>& tableHeaderView() const { return headerView_; }
  // setTableHeaderView: — the header goes to the top of the table, stretched to the table's
  // width (its height is kept); the previous header leaves the table. Null removes it.
  void setTableHeaderView(std::shared_ptr<UIView> view);

 private:
  std::shared_ptr<UIView> headerView_;
};
