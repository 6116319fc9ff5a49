// The page's header: its views, and the fade-in of its two labels.
#include <gtest/gtest.h>

#include "PaneTestSupport.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIScreenHardware.h"
#include "UIKit/UITableView.h"
#include "UIKit/UIViewInspection.h"

namespace prefs_test {
namespace {

constexpr double kWidth = 414;

class HeaderTest : public PaneTest {
 protected:
  void SetUp() override {
    UIScreenHardware::of(device()).setBoundsSize(CGSizeMake(kWidth, 896));
    installBundle();
    controller_ = makeController();
    controller_->view();
  }
  std::shared_ptr<VXPRootListController> controller_;
};

TEST_F(HeaderTest, BannerAndLabelsAreLaidOutInOrder) {
  ASSERT_TRUE(controller_->table());
  const auto& header = controller_->table()->tableHeaderView();
  ASSERT_TRUE(header);
  EXPECT_EQ(header->frame(), CGRectMake(0, 0, kWidth, 140));  // stretched by the table
  ASSERT_EQ(header->subviews().size(), 3u);
  auto banner = std::dynamic_pointer_cast<UIImageView>(header->subviews()[0]);
  ASSERT_TRUE(banner);
  EXPECT_EQ(banner->frame(), CGRectMake(0, 0, kWidth, 150));
  EXPECT_FALSE(banner->image());  // no banner installed: the view stays empty
  EXPECT_EQ(header->subviews()[1], controller_->label());
  EXPECT_EQ(header->subviews()[2], controller_->underLabel());

  const UILabel& upper = *controller_->label();
  EXPECT_EQ(upper.frame(), CGRectMake(0, 20, kWidth, 60));
  EXPECT_EQ(upper.text(), "Gyrowhirl");
  EXPECT_EQ(upper.font()->fontName(), "HelveticaNeue-UltraLight");
  EXPECT_EQ(upper.font()->pointSize(), 35);
  EXPECT_EQ(upper.numberOfLines(), 1);

  const UILabel& under = *controller_->underLabel();
  EXPECT_EQ(under.frame(), CGRectMake(0, 55, kWidth, 60));
  EXPECT_TRUE(under.text().starts_with("\nSmart Screen Rotation Suggestions\n\n"));
  EXPECT_EQ(std::count(under.text().begin(), under.text().end(), '\n'), 3);
  EXPECT_EQ(under.font()->fontName(), "HelveticaNeue-Light");
  EXPECT_EQ(under.font()->pointSize(), 14);
  EXPECT_EQ(under.numberOfLines(), 4);

  for (const UILabel* label : {&upper, &under}) {
    EXPECT_EQ(label->textAlignment(), NSTextAlignmentCenter);
    EXPECT_EQ(label->textColor(), UIColor::whiteColor());
    EXPECT_EQ(label->backgroundColor(), UIColor::clearColor());
    EXPECT_EQ(label->alpha(), 0.0);
  }
}

TEST_F(HeaderTest, NameFadesInFromHalfASecondThenTheSubtitle) {
  auto upper = controller_->label();
  auto under = controller_->underLabel();
  const double loaded = device().now();
  controller_.reset();  // the header's timer keeps the controller alive until it fires

  device_.runFor(0.49);
  EXPECT_EQ(upper->alpha(), 0.0);
  device_.runFor(0.01);
  ASSERT_TRUE(UIViewInspection::alphaAnimation(*upper));
  EXPECT_DOUBLE_EQ(UIViewInspection::alphaAnimation(*upper)->beginTime, loaded + 0.5);
  EXPECT_DOUBLE_EQ(UIViewInspection::alphaAnimation(*upper)->durationSeconds, 0.5);
  EXPECT_EQ(upper->alpha(), 1.0);
  EXPECT_FALSE(UIViewInspection::alphaAnimation(*under));  // waits for the name's fade to complete

  device_.runFor(0.5);
  ASSERT_TRUE(UIViewInspection::alphaAnimation(*under));
  EXPECT_DOUBLE_EQ(UIViewInspection::alphaAnimation(*under)->beginTime, loaded + 1.0);
  EXPECT_DOUBLE_EQ(UIViewInspection::alphaAnimation(*under)->durationSeconds, 0.5);

  const struct {
    double t;
    bool upperPartial, underZero;
  } samples[] = {{0.75, true, true}, {1.0, false, true}, {1.25, false, false}};
  for (const auto& s : samples) {
    SCOPED_TRACE(s.t);
    const double upperAlpha = UIViewInspection::presentationAlphaAtTime(*upper, loaded + s.t);
    const double underAlpha = UIViewInspection::presentationAlphaAtTime(*under, loaded + s.t);
    EXPECT_EQ(upperAlpha > 0 && upperAlpha < 1, s.upperPartial);
    EXPECT_EQ(underAlpha == 0, s.underZero);
  }
  EXPECT_EQ(UIViewInspection::presentationAlphaAtTime(*upper, loaded + 1.5), 1.0);
  EXPECT_EQ(UIViewInspection::presentationAlphaAtTime(*under, loaded + 1.5), 1.0);
}

}  // namespace
}  // namespace prefs_test
