#include "gestures/BrightnessRecord.h"

#include "UIKit/UIScreen.h"
#include "objc/runtime.h"

namespace glidepad {

namespace {

class GLPBrightnessRecord : public NSObject {
 public:
  static Class objcClass() {
    static Class cls =
        objc_registerClass("GLPBrightnessRecord", NSObject::objcClass(), [](Class) {});
    return cls;
  }

  bool stepped = false;  // a brightness step was made in this stay
  bool changed = false;  // one of them changed the level
  double before = 0;     // the level before the first
};

const char kRecordKey = 0;

Ref<GLPBrightnessRecord> recordOf(const id& playerView) {
  return objc_cast<GLPBrightnessRecord>(objc_getAssociatedObject(playerView, &kRecordKey));
}

}  // namespace

void attachBrightnessRecord(const id& playerView) {
  objc_setAssociatedObject(playerView, &kRecordKey, alloc_init<GLPBrightnessRecord>(),
                           OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

void recordBrightnessStep(const id& playerView, double before, double after) {
  auto record = recordOf(playerView);
  if (!record) return;
  if (!record->stepped) {
    record->stepped = true;
    record->before = before;
  }
  if (after != before) record->changed = true;
}

void endBrightnessStay(const id& playerView, bool restore) {
  auto record = recordOf(playerView);
  if (!record) return;
  if (restore && record->changed) {
    objc_msgSend(UIScreen::mainScreen(), selector<"setBrightness:">(), record->before);
  }
  record->stepped = record->changed = false;
}

}  // namespace glidepad
