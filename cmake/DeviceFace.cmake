# The device face: the platform headers the product (Tweak.cpp, VXCommon/, gyrowhirlprefs/) may
# include, paths relative to platform/. Each declares only what the real framework offers under
# its real name, so that a device build can provide it from an Objective-C++ adapter. Whatever
# only the simulator uses lives in other headers (see platform/README.md).
set(GW_DEVICE_FACE_HEADERS
    AltList/ATLApplicationListSubcontrollerController.h
    CoreFoundation/CFNotificationCenter.h
    CoreGraphics/CGColor.h
    CoreGraphics/CGGeometry.h
    CoreMotion/CMAttitude.h
    CoreMotion/CMDeviceMotion.h
    CoreMotion/CMMotionManager.h
    CydiaSubstrate/CydiaSubstrate.h
    Dispatch/dispatch.h
    Foundation/DictionaryFileRead.h
    Foundation/NSBundle.h
    Foundation/NSCharacterSet.h
    Foundation/NSFileManager.h
    Foundation/NSLog.h
    Foundation/NSNotificationCenter.h
    Foundation/NSRunLoop.h
    Foundation/NSScanner.h
    Foundation/NSURL.h
    Foundation/Value.h
    ObjCRuntime/ObjCClass.h
    ObjCRuntime/ObjCClassRegistry.h
    ObjCRuntime/objc.h
    ObjCRuntime/runtime.h
    Preferences/PSListController.h
    Preferences/PSSpecifier.h
    QuartzCore/CABasicAnimation.h
    QuartzCore/CALayer.h
    Runtime/ProcessStatic.h
    Runtime/ProcessToken.h
    SpringBoard/SBApplication.h
    SpringBoard/SBApplicationInfo.h
    SpringBoard/SBOrientationLockManager.h
    SpringBoard/SpringBoard.h
    System/spawn.h
    UIKit/UIAlertAction.h
    UIKit/UIAlertController.h
    UIKit/UIApplication.h
    UIKit/UIButton.h
    UIKit/UIColor.h
    UIKit/UIControl.h
    UIKit/UIDevice.h
    UIKit/UIFont.h
    UIKit/UIGestureRecognizer.h
    UIKit/UIImage.h
    UIKit/UIImageView.h
    UIKit/UIImpactFeedbackGenerator.h
    UIKit/UILabel.h
    UIKit/UIPanGestureRecognizer.h
    UIKit/UIScreen.h
    UIKit/UITableView.h
    UIKit/UIView.h
    UIKit/UIViewController.h
    UIKit/UIWindow.h)

# The platform sources, paths relative to platform/, that are plain C++ on no simulated device
# (no process, clock or file system): the device build compiles them as they are, next to
# device/face/ and device/native/. Where the adapter replaces the header of their class
# (UIViewHierarchy.cpp), they use only the members both versions declare alike.
set(GW_DEVICE_SHARED_SOURCES
    CoreGraphics/CGColor.cpp
    QuartzCore/CABasicAnimation.cpp
    UIKit/UIAlertAction.cpp
    UIKit/UIAlertControllerActions.cpp
    UIKit/UIControlActions.cpp
    UIKit/UIFont.cpp
    UIKit/UIViewHierarchy.cpp
    Foundation/NSFileCoordinator.cpp
    Foundation/DecimalReal.cpp
    Foundation/NSLogFormat.cpp
    Foundation/Value.cpp
    Preferences/PSCellTypeNames.cpp
    Preferences/PSListControllerActions.cpp)
