// The few interfaces of the private Preferences framework (PSListController, PSSpecifier)
// that the settings bundle's native files use, declared here because the SDK has no headers
// for the framework. Objective-C: for native .mm files only.
#pragma once

#ifndef __OBJC__
#error "Objective-C declarations: include from native .mm files only"
#endif

#import <UIKit/UIKit.h>

typedef NS_ENUM(NSInteger, PSCellType) {
  PSGroupCell = 0,
  PSLinkCell = 1,
  PSLinkListCell = 2,
  PSListItemCell = 3,
  PSTitleValueCell = 4,
  PSSliderCell = 5,
  PSSwitchCell = 6,
  PSStaticTextCell = 7,
  PSEditTextCell = 8,
  PSSegmentCell = 9,
  PSGiantIconCell = 10,
  PSGiantCell = 11,
  PSSecureEditTextCell = 12,
  PSButtonCell = 13,
  PSEditTextViewCell = 14,
};

@interface PSSpecifier : NSObject
@property(nonatomic, retain) NSString* name;
@property(nonatomic, retain) NSString* identifier;
@property(nonatomic) PSCellType cellType;
@property(nonatomic, weak) id target;
@property(nonatomic, retain) NSMutableDictionary* properties;
// The selector a button row sends to its target when tapped.
@property(nonatomic) SEL buttonAction;
+ (instancetype)preferenceSpecifierNamed:(NSString*)name
                                  target:(id)target
                                     set:(SEL)setter
                                     get:(SEL)getter
                                  detail:(Class)detailControllerClass
                                    cell:(PSCellType)cellType
                                    edit:(Class)editPaneClass;
- (id)propertyForKey:(NSString*)key;
- (void)setProperty:(id)value forKey:(NSString*)key;
@end

@interface PSListController : UIViewController {
 @public  // for the bundle's forwarding functions, which are not methods
  // The rows shown, in order; nil until -specifiers fills it.
  NSMutableArray* _specifiers;
}
@property(nonatomic, retain) PSSpecifier* specifier;
- (NSMutableArray*)specifiers;
- (NSMutableArray*)loadSpecifiersFromPlistName:(NSString*)name target:(id)target;
- (void)insertContiguousSpecifiers:(NSArray*)specifiers
                    afterSpecifier:(PSSpecifier*)specifier
                          animated:(BOOL)animated;
- (void)removeContiguousSpecifiers:(NSArray*)specifiers animated:(BOOL)animated;
- (void)reloadSpecifier:(PSSpecifier*)specifier animated:(BOOL)animated;
- (void)reloadSpecifiers;
- (id)readPreferenceValue:(PSSpecifier*)specifier;
- (void)setPreferenceValue:(id)value specifier:(PSSpecifier*)specifier;
- (UITableView*)table;
@end
