// What the program's message boxes said: a modal-script step that reads the box on top (its
// text, its title, and whether it is the skinned box) into a list and closes it with Enter.
#pragma once

#include <vector>

#include "platform/framework/forms/forms.h"
#include "skin/controls/skin_std_label.h"
#include "skin/dialogs/skin_message.h"
#include "tests/support/modal_script.h"
#include "tests/support/user_input.h"

struct TShownBox {
    String Text;
    String Caption;
    bool Skinned = false;
};

inline ModalScript::Step ReadAndCloseBox(std::vector<TShownBox>& ABoxes)
{
    return [&ABoxes](TCustomForm* AForm) {
        auto* box = dynamic_cast<TbsMessageForm*>(AForm);
        ABoxes.push_back({box && box->Message ? box->Message->Caption() : String(), AForm->Caption(),
                          box != nullptr && box->BSF != nullptr});
        PressKey(VK_RETURN, kNoMods, L"\r");
    };
}
