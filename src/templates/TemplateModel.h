#pragma once

#include <QString>

// Plain rows of the template tables, as the catalogue reads them. Positions on paper are in
// tenths of a millimetre from the paper's top-left corner; on-screen geometry is in pixels over
// the template picture, shown at natural size.

// One entry of a bill kind's item dictionary (NameDict), shared by every template of the kind.
struct DictItem
{
    QString checkTypeName; // bill kind, e.g. "快递单"
    QString ctlName;       // upper case; the objectName of the field, without regard to case
    QString ctlLabel;
    QString ctlType; // "TEXT" or "CHECKBOX"
    bool printItem = false;
    int showOrd = 0;
    QString ctlData; // sample text for the designer and preview
    QString groups;  // designer group
};

// A template: one paper form of one issuer (ckTypeTable).
struct Template
{
    int checkTypeId = 0;
    QString typeName;      // typeFirstName + "（" + typeDescribe + "）"
    QString typeFirstName; // bill kind
    QString typeDescribe;
    QString isDefault; // "默认" or "0"
    QString isCommon;  // "是" when offered in the quick list
    QString visiable;  // "启用" or "停用隐藏"
    QString imgFile;   // in the data home's Image/ folder; empty: "dhd_default.jpg"
    QString iniFile;   // layout cache file name once built
    int xMove = 0;     // whole-slip offset, 0.1 mm
    int yMove = 0;
    QString hvPrint; // "1": fed landscape
    int tWidth = 0;  // picture area, pixels
    int tHeight = 0;
    int pWidth = 0; // paper, 0.1 mm
    int pHeight = 0;
    QString checkBoxs; // comma-separated captions of DEFCHECK0, DEFCHECK1, ...
    int showOrd = 0;

    bool isEnabled() const { return visiable == u"启用"; }
    bool isDefaultTemplate() const { return isDefault == u"默认"; }
    // The picture file to show, with the fallback for templates without one.
    QString pictureFile() const;
};

// One item of a template (CKControl), keyed by (checkTypeId, ctlName).
struct TemplateItem
{
    int checkTypeId = 0;
    QString ctlName;
    QString ctlCName;
    QString ctlType;
    // Print part, 0.1 mm.
    int ctlX = 0;
    int ctlY = 0;
    int ctlW = 0;
    int ctlH = 0;
    int ctlLH = 0; // line pitch of multi-line values
    // On-screen part, pixels over the picture.
    int srcX = 0;
    int srcY = 0;
    int srcW = 0;
    int srcH = 0;
    bool needPrint = false;
    bool needShow = false;
    QString ctlFontName;
    int ctlFontSize = 0;
    QString ctlFontColor;
    int breakFontSize = 0;
    bool bold = false;
    bool italic = false;
    bool underLine = false;
    QString fitParam; // character pitch, 0.1 mm; empty: plain text
    QString breakNum; // line width in full-width characters; not digits: no breaking
    int showOrd = 0;
    QString initValue; // default content on a new bill
};
