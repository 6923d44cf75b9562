// TForm2, the about box "关于": the product name, its version, the maker's web site and support
// mail as links, the maker's name, a picture and "确定".
#pragma once

#include "platform/framework/forms/forms.h"

class TImage;
class TbsSkinButton;
class TbsSkinData;
class TbsSkinForm;
class TbsSkinLinkLabel;
class TbsSkinStdLabel;

class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* AOwner);
    ~TForm2() override;

    // Dresses the frame, the labels and the button with one skin model (nullptr: the plain look).
    void SetSkinData(TbsSkinData* Value);

    void bsSkinButton1Click(TObject* Sender);  // "确定": close

    TbsSkinForm* bsSkinForm1;
    TImage* Image1;                      // the picture
    TbsSkinStdLabel* bsSkinStdLabel1;    // "VexmoraMKV格式转换器"
    TbsSkinStdLabel* bsSkinStdLabel2;    // "Ver:1.00.218"
    TbsSkinStdLabel* bsSkinStdLabel3;    // "了解更多请访问："
    TbsSkinLinkLabel* bsSkinLinkLabel1;  // the maker's web site
    TbsSkinStdLabel* bsSkinStdLabel4;    // "联系邮箱："
    TbsSkinLinkLabel* bsSkinLinkLabel2;  // a new mail to the maker's support address
    TbsSkinStdLabel* bsSkinStdLabel5;    // the maker's name
    TbsSkinButton* bsSkinButton1;        // "确定"
};

extern TForm2* Form2;
