// The recording control host of native tests.
#include "classlib/RecordingControlHost.h"

namespace classlib {

void TRecordingControlHost::ClearRecords() {
  Beeps.clear();
  Invalidated.clear();
  Canvas.Clear();
  DrawNowCount = 0;
}

void TRecordingControlHost::DrawNow(const std::function<void(TCanvas&)>& draw) {
  ++DrawNowCount;
  draw(Canvas);
}

void TRecordingControlHost::CreateCaret(int width, int height) {
  CaretCreated = true;
  CaretVisible = false;  // a new caret starts hidden, as in Windows
  CaretSize = {width, height};
}

void TRecordingControlHost::DestroyCaret() {
  CaretCreated = false;
  CaretVisible = false;
}

}  // namespace classlib
