#include "platform/framework/forms/message_box.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/framework/controls/button.h"
#include "platform/framework/controls/label.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"

int ShowPlainMessageBox(const String& Text, const String& Caption, int Flags)
{
    struct Choice {
        const wchar_t* caption;
        TModalResult result;
        int answer;
    };
    std::vector<Choice> choices;
    switch (Flags & 0xF) {
    case MB_OKCANCEL: choices = {{L"确定", mrOk, IDOK}, {L"取消", mrCancel, IDCANCEL}}; break;
    case MB_YESNO: choices = {{L"是", mrYes, IDYES}, {L"否", mrNo, IDNO}}; break;
    case MB_YESNOCANCEL: choices = {{L"是", mrYes, IDYES}, {L"否", mrNo, IDNO}, {L"取消", mrCancel, IDCANCEL}}; break;
    default: choices = {{L"确定", mrOk, IDOK}}; break;
    }
    std::unique_ptr<TForm> box(new TForm(nullptr));
    box->SetBorderStyle(bsDialog);
    box->SetCaption(Caption);
    box->SetPosition(Application && Application->MainForm() && Application->MainForm()->Visible() ? poMainFormCenter
                                                                                                  : poScreenCenter);
    auto* text = new TLabel(box.get());
    text->SetParent(box.get());
    text->SetBounds(16, 16, 360, 20);
    text->SetWordWrap(true);
    text->SetCaption(Text);
    const int bw = 75, bh = 25, gap = 8;
    int buttonsWidth = static_cast<int>(choices.size()) * (bw + gap) - gap;
    int clientW = std::max(text->Left() + text->Width() + 16, buttonsWidth + 32);
    int buttonsTop = text->Top() + text->Height() + 16;
    box->SetClientSize(clientW, buttonsTop + bh + 12);
    int x = (clientW - buttonsWidth) / 2;
    TButton* first = nullptr;
    for (const Choice& c : choices) {
        auto* b = new TButton(box.get());
        b->SetBounds(x, buttonsTop, bw, bh);
        b->SetCaption(c.caption);
        b->SetModalResult(c.result);
        b->SetParent(box.get());
        if (!first) {
            first = b;
            b->SetDefault(true);
        }
        if (c.result == mrCancel || (choices.size() == 1)) b->SetCancel(true);
        x += bw + gap;
    }
    box->SetActiveControl(first);
    TModalResult r = box->ShowModal();
    for (const Choice& c : choices)
        if (c.result == r) return c.answer;
    // Closed by its frame: the answer of the cancelling choice, or the only one.
    return choices.size() == 1 ? choices[0].answer : (Flags & 0xF) == MB_YESNO ? IDNO : IDCANCEL;
}
