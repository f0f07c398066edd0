// A one-line label that never cuts its text short.
#pragma once

class QLabel;

namespace zanvo {

// Shrinks the label's font, in quarter points, until its text fits the label's width; leaves it
// as it is where it fits already. The text itself never changes.
void fitToWidth(QLabel *label);

} // namespace zanvo
