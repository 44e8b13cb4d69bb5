// The dialog operations the Locate command needs. The window implements them with its controls;
// the command line with a console; the tests with a recording fake.
#pragma once

#include <string>

#include "Destination.h"
#include "LookupFeedback.h"

namespace quorvel {

class ILocateView : public ILookupFeedback {
public:
    // The address box's whole text, as typed.
    virtual std::string GetAddressText() = 0;
    // Replaces the information box's whole text; lines are separated by CR LF.
    virtual void SetInformationText(const std::string& text) = 0;

    virtual void EnableAddressBox(bool enable) = 0;
    virtual void EnableLocateButton(bool enable) = 0;

    // The busy cursor shows between the two calls; they come in pairs.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    virtual void FocusAddressBox() = 0;

    // Paints the dialog at once, before the command goes on to block.
    virtual void RepaintNow() = 0;

    // The destination as read, when reading changed what was typed (a pasted form taken apart,
    // an AS number or prefix written otherwise). The windows show only the answer; the command
    // line says how it read the text when asked to be verbose.
    virtual void OnDestinationRead(const Destination& destination) {
        static_cast<void>(destination);
    }
};

}  // namespace quorvel
