// The key names each skin record writes, in writing order, as the skin file format names them:
// written out here rather than taken from the records' own tables, so a misspelt or missing key
// in a table fails the round-trip test.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace skin_keys {

using Keys = std::vector<std::string>;

inline Keys Join(std::initializer_list<Keys> Parts)
{
    Keys all;
    for (const Keys& p : Parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Keys kControlBase = {"pictureindex", "maskpictureindex", "skinrect"};

const Keys kCustomGeometry = {"lefttoppoint",  "righttoppoint", "leftbottompoint", "rightbottompoint",
                              "clientrect",    "leftstretch",   "topstretch",      "rightstretch",
                              "bottomstretch", "stretcheffect", "stretchtype"};

const Keys kOwn_button = {"fontname",
                          "fontheight",
                          "fontstyle",
                          "fontcolor",
                          "activefontcolor",
                          "downfontcolor",
                          "disabledfontcolor",
                          "activeskinrect",
                          "downskinrect",
                          "focusedskinrect",
                          "disabledskinrect",
                          "morphing",
                          "morphkind",
                          "animateskinrect",
                          "framecount",
                          "animateinterval",
                          "showfocus",
                          "menumarkerflatrect",
                          "menumarkerrect",
                          "menumarkeractiverect",
                          "menumarkerdownrect",
                          "menumarkertransparentcolor",
                          "glowlayerpictureindex",
                          "glowlayermaskpictureindex",
                          "glowlayeroffsetleft",
                          "glowlayeroffsetright",
                          "glowlayeroffsettop",
                          "glowlayeroffsetbottom",
                          "glowlayershowoffsetx",
                          "glowlayershowoffsety",
                          "glowlayeralphablendvalue"};

const Keys kOwn_menubutton = {"trackbuttonrect"};

const Keys kOwn_checkradio = {"fontname",
                              "fontheight",
                              "fontstyle",
                              "fontcolor",
                              "framefontcolor",
                              "activefontcolor",
                              "unenabledfontcolor",
                              "activeskinrect",
                              "checkimagearea",
                              "textarea",
                              "checkimagerect",
                              "uncheckimagerect",
                              "activecheckimagerect",
                              "activeuncheckimagerect",
                              "unenabledcheckimagerect",
                              "unenableduncheckimagerect",
                              "grayedcheckimagerect",
                              "activegrayedcheckimagerect",
                              "morphing",
                              "morphkind"};

const Keys kOwn_edit = {"activeskinrect",   "fontname",          "fontheight",         "fontstyle",
                        "fontcolor",        "disabledfontcolor", "activefontcolor",    "buttonrect",
                        "activebuttonrect", "downbuttonrect",    "unenabledbuttonrect"};

const Keys kOwn_memo = {"bgcolor", "activebgcolor"};

const Keys kOwn_spinedit = {"activeskinrect",     "fontname",         "fontheight",        "fontstyle",
                            "fontcolor",          "activefontcolor",  "disabledfontcolor", "upbuttonrect",
                            "activeupbuttonrect", "downupbuttonrect", "downbuttonrect",    "activedownbuttonrect",
                            "downdownbuttonrect"};

const Keys kOwn_listbox = {"itemrect",
                           "activeitemrect",
                           "focusitemrect",
                           "itemleftoffset",
                           "itemrightoffset",
                           "itemtextrect",
                           "fontname",
                           "fontheight",
                           "fontstyle",
                           "fontcolor",
                           "activefontcolor",
                           "focusfontcolor",
                           "captionrect",
                           "captionfontname",
                           "captionfontheight",
                           "captionfontstyle",
                           "captionfontcolor",
                           "upbuttonrect",
                           "activeupbuttonrect",
                           "downupbuttonrect",
                           "downbuttonrect",
                           "activedownbuttonrect",
                           "downdownbuttonrect",
                           "checkbuttonrect",
                           "activecheckbuttonrect",
                           "downcheckbuttonrect",
                           "vscrollbarname",
                           "hscrollbarname",
                           "bothhscrollbarname",
                           "showfocus",
                           "disabledbuttonsrect",
                           "buttonsarea"};

const Keys kOwn_checklistbox = {"itemcheckrect", "uncheckimagerect", "checkimagerect"};

const Keys kOwn_combobox = {"activeskinrect",
                            "itemrect",
                            "activeitemrect",
                            "focusitemrect",
                            "itemleftoffset",
                            "itemrightoffset",
                            "itemtextrect",
                            "fontname",
                            "fontheight",
                            "fontstyle",
                            "fontcolor",
                            "focusfontcolor",
                            "activefontcolor",
                            "buttonrect",
                            "activebuttonrect",
                            "downbuttonrect",
                            "unenabledbuttonrect",
                            "listboxname",
                            "itemstretcheffect",
                            "focusitemstretcheffect",
                            "showfocus"};

const Keys kOwn_panel = {"bgpictureindex",
                         "captionrect",
                         "alignment",
                         "fontname",
                         "fontheight",
                         "fontstyle",
                         "fontcolor",
                         "checkimagerect",
                         "uncheckimagerect",
                         "markframerect",
                         "framerect",
                         "frametextrect",
                         "frameleftoffset",
                         "framerightoffset",
                         "gripperrect",
                         "grippertransparent",
                         "grippertransparentcolor",
                         "buttonrect",
                         "buttonactiverect",
                         "buttondownrect",
                         "buttontransparent",
                         "buttontransparentcolor"};

const Keys kOwn_expanel = {"rollhskinrect",
                           "rollvskinrect",
                           "rollleftoffset",
                           "rollrightoffset",
                           "rolltopoffset",
                           "rollbottomoffset",
                           "rollvcaptionrect",
                           "rollhcaptionrect",
                           "closebuttonrect",
                           "closebuttonactiverect",
                           "closebuttondownrect",
                           "hrollbuttonrect",
                           "hrollbuttonactiverect",
                           "hrollbuttondownrect",
                           "hrestorebuttonrect",
                           "hrestorebuttonactiverect",
                           "hrestorebuttondownrect",
                           "vrollbuttonrect",
                           "vrollbuttonactiverect",
                           "vrollbuttondownrect",
                           "vrestorebuttonrect",
                           "vrestorebuttonactiverect",
                           "vrestorebuttondownrect",
                           "captionrect",
                           "fontname",
                           "fontheight",
                           "fontstyle",
                           "fontcolor",
                           "buttonstransparent",
                           "buttonstransparentcolor"};

const Keys kOwn_label = {"fontname", "fontheight", "fontstyle", "fontcolor"};

const Keys kOwn_stdlabel = {"fontname", "fontheight", "fontstyle", "fontcolor", "activefontcolor"};

const Keys kOwn_bevel = {"lightcolor", "darkcolor"};

const Keys kOwn_splitter = {"gripperrect", "grippertransparent", "grippertransparentcolor"};

const Keys kOwn_scrollbox = {"bgpictureindex"};

const Keys kOwn_scrollbar = {"trackarea",
                             "upbuttonrect",
                             "activeupbuttonrect",
                             "downupbuttonrect",
                             "downbuttonrect",
                             "activedownbuttonrect",
                             "downdownbuttonrect",
                             "thumbrect",
                             "activethumbrect",
                             "downthumbrect",
                             "thumboffset1",
                             "thumboffset2",
                             "glyphrect",
                             "activeglyphrect",
                             "downglyphrect",
                             "glyphtransparent",
                             "glyphtransparentcolor",
                             "thumbtransparent",
                             "thumbtransparentcolor",
                             "thumbstretcheffect",
                             "thumbminsize",
                             "thumbminpagesize"};

const Keys kOwn_trackbar = {"activeskinrect",        "trackarea", "buttonrect",
                            "activebuttonrect",      "vertical",  "buttontransparent",
                            "buttontransparentcolor"};

const Keys kOwn_slider = {"bgcolor", "hrulerrect", "hthumbrect", "vrulerrect", "vthumbrect", "edgesize", "pointscolor"};

const Keys kOwn_gauge = {"progressarea",
                         "progressrect",
                         "beginoffset",
                         "endoffset",
                         "vertical",
                         "fontname",
                         "fontheight",
                         "fontstyle",
                         "fontcolor",
                         "progresstransparent",
                         "progresstransparentcolor",
                         "progressstretch",
                         "animationskinrect",
                         "animationcountframes",
                         "animationtimerinterval",
                         "progressanimationskinrect",
                         "progressanimationcountframes",
                         "progressanimationtimerinterval",
                         "animationbeginoffset",
                         "animationendoffset"};

const Keys kOwn_updown = {"upbuttonrect",   "activeupbuttonrect",   "downupbuttonrect",
                          "downbuttonrect", "activedownbuttonrect", "downdownbuttonrect"};

const Keys kOwn_tab = {"tabrect",
                       "activetabrect",
                       "focustabrect",
                       "mouseintabrect",
                       "clientrect",
                       "bgpictureindex",
                       "lefttoppoint",
                       "righttoppoint",
                       "leftbottompoint",
                       "rightbottompoint",
                       "tableftoffset",
                       "tabrightoffset",
                       "tabsbgrect",
                       "tabstretcheffect",
                       "leftstretch",
                       "topstretch",
                       "rightstretch",
                       "bottomstretch",
                       "stretcheffect",
                       "stretchtype",
                       "fontname",
                       "fontheight",
                       "fontstyle",
                       "fontcolor",
                       "activefontcolor",
                       "focusfontcolor",
                       "mouseinfontcolor",
                       "updown",
                       "showfocus",
                       "focusoffsetx",
                       "focusoffsety",
                       "closebuttonrect",
                       "closebuttonactiverect",
                       "closebuttondownrect",
                       "buttontransparent",
                       "buttontransparentcolor",
                       "dividerrect",
                       "dividertransparent",
                       "dividertransparentcolor",
                       "mdicloserect",
                       "mdicloseactiverect",
                       "mdiclosedownrect",
                       "mdirestorerect",
                       "mdirestoreactiverect",
                       "mdirestoredownrect",
                       "mdiminrect",
                       "mdiminactiverect",
                       "mdimindownrect",
                       "mdibuttonstransparent",
                       "mdibuttonstransparentcolor",
                       "tableftbottomactiverect",
                       "tableftbottomfocusrect"};

const Keys kOwn_grid = {"fixedcellrect",
                        "selectcellrect",
                        "focuscellrect",
                        "fixedcellleftoffset",
                        "fixedcellrightoffset",
                        "fixedcelltextrect",
                        "cellleftoffset",
                        "cellrightoffset",
                        "celltextrect",
                        "linescolor",
                        "bgcolor",
                        "bgpictureindex",
                        "fontname",
                        "fontheight",
                        "fontstyle",
                        "fontcolor",
                        "selectfontcolor",
                        "focusfontcolor",
                        "fixedfontname",
                        "fixedfontheight",
                        "fixedfontstyle",
                        "fixedfontcolor",
                        "cellstretcheffect",
                        "fixedcellstretcheffect",
                        "showfocus"};

const Keys kOwn_treeview = {"fontname", "fontheight",      "fontstyle",        "fontcolor",
                            "bgcolor",  "expandimagerect", "noexpandimagerect"};

const Keys kOwn_listview = {"fontname", "fontheight", "fontstyle", "fontcolor", "bgcolor"};

const Keys kOwn_mainmenubar = {"itemsrect",     "menubaritem",    "closebutton",    "minbutton",
                               "maxbutton",     "sysmenubutton",  "trackmarkcolor", "trackmarkactivecolor",
                               "stretcheffect", "itemtransparent"};

const Keys kOwn_controlbar = {"itemrect",
                              "bgpictureindex",
                              "hgriprect",
                              "vgriprect",
                              "gripoffset1",
                              "gripoffset2",
                              "itemoffset1",
                              "itemoffset2",
                              "itemstretcheffect",
                              "itemtransparent",
                              "itemtransparentcolor",
                              "griptransparent",
                              "griptransparentcolor"};

const Keys kOwn_appmenu = {"bgpictureindex",
                           "bgstretcheffect",
                           "bgpagepictureindex",
                           "bgpagestretcheffect",
                           "itemrect",
                           "pageitemrect",
                           "pageitemactiverect",
                           "itemoffset1",
                           "itemoffset2",
                           "pageitemoffset1",
                           "pageitemoffset2",
                           "pageoffset",
                           "fontname",
                           "fontheight",
                           "fontpageheight",
                           "fontstyle",
                           "fontcolor",
                           "disabledfontcolor",
                           "activefontcolor",
                           "fontpagecolor",
                           "activefontpagecolor",
                           "gripperrect",
                           "grippertransparentcolor",
                           "toplinerect",
                           "toplineoffset1",
                           "toplineoffset2",
                           "backbuttonrect",
                           "backbuttonactiverect",
                           "captionrect",
                           "captionleftoffset",
                           "captiontopoffset"};

const Keys kObjectBase = {"hint",
                          "activepictureindex",
                          "activemaskpictureindex",
                          "skinrectinapicture",
                          "skinrect",
                          "activeskinrect",
                          "inactiveskinrect",
                          "morphing",
                          "morphkind",
                          "glowlayerpictureindex",
                          "glowlayermaskpictureindex",
                          "glowlayeroffsetx",
                          "glowlayeroffsety",
                          "glowlayeralphablendvalue"};

const Keys kObjectOwn_button = {"downrect", "disableskinrsect", "alphamaskpictureindex", "alphamaskactivepictureindex",
                                "alphamaskinactivepictureindex"};

const Keys kObjectOwn_stdbutton = {"command",         "restorerect",         "restoreactiverect",
                                   "restoredownrect", "restoreinactiverect", "restorehint"};

const Keys kObjectOwn_animate = {
    "countframes",  "cycle",       "buttonstyle",       "timerinterval",   "command",
    "downskinrect", "restorerect", "restoreactiverect", "restoredownrect", "restoreinactiverect",
    "restorehint"};

const Keys kObjectOwn_menuitem = {"itemleftoffset",
                                  "itemrightoffset",
                                  "dividerrect",
                                  "dividerleftoffset",
                                  "dividerrightoffset",
                                  "textrect",
                                  "imagerect",
                                  "fontname",
                                  "fontheight",
                                  "fontstyle",
                                  "fontcolor",
                                  "activefontcolor",
                                  "unenabledfontcolor",
                                  "stretcheffect",
                                  "inactivestretcheffect",
                                  "dividerstretcheffect",
                                  "animateskinrect",
                                  "framecount",
                                  "animateinterval",
                                  "inactiveanimation",
                                  "useimagecolor",
                                  "imagecolor",
                                  "activeimagecolor",
                                  "inactivetransparent",
                                  "checkimagerect",
                                  "activecheckimagerect",
                                  "radioimagerect",
                                  "activeradioimagerect",
                                  "arrowimagerect",
                                  "activearrowimagerect"};

const Keys kObjectOwn_mainmenubaritem = {
    "itemleftoffset",  "itemrightoffset", "downrect",        "textrect",         "fontname",           "fontheight",
    "fontstyle",       "fontcolor",       "activefontcolor", "downfontcolor",    "unenabledfontColor", "stretcheffect",
    "animateskinrect", "framecount",      "animateinterval", "inactiveanimation"};

const Keys kObjectOwn_caption = {"textrect",
                                 "fontname",
                                 "fontheight",
                                 "fontstyle",
                                 "fontcolor",
                                 "activefontcolor",
                                 "alignment",
                                 "light",
                                 "lightcolor",
                                 "activelightcolor",
                                 "shadow",
                                 "shadowcolor",
                                 "activeshadowcolor",
                                 "framerect",
                                 "activeframerect",
                                 "frametextrect",
                                 "frameleftoffset",
                                 "framerightoffset",
                                 "stretcheffect",
                                 "animateskinrect",
                                 "framecount",
                                 "animateinterval",
                                 "inactiveanimation",
                                 "fullframe",
                                 "vistagloweffect",
                                 "vistaglowinactiveeffect",
                                 "gloweffect",
                                 "glowinactiveeffect",
                                 "glowsize",
                                 "glowcolor",
                                 "glowactivecolor",
                                 "glowoffset",
                                 "reflectioneffect",
                                 "reflactioncolor",
                                 "reflactionactivecolor",
                                 "reflectionoffset",
                                 "dividerrect",
                                 "inactivedividerrect",
                                 "dividertransparent",
                                 "dividertransparentcolor",
                                 "quickbuttonalphamaskpictureindex"};

const Keys kWindow_POPUPWINDOW = {"windowpictureindex",      "maskpictureindex", "lefttoppoint", "righttoppoint",
                                  "leftbottompoint",         "rightbottompoint", "itemsrect",    "scrollmarkercolor",
                                  "scrollmarkeractivecolor", "leftstretch",      "rightstretch", "topstretch",
                                  "bottomstretch",           "stretcheffect",    "stretchtype"};

const Keys kWindow_HINTWINDOW = {
    "windowpictureindex", "maskpictureindex", "lefttoppoint",  "righttoppoint", "leftbottompoint", "rightbottompoint",
    "clientrect",         "fontname",         "fontheight",    "fontstyle",     "fontcolor",       "leftstretch",
    "rightstretch",       "topstretch",       "bottomstretch", "stretcheffect", "stretchtype"};

const Keys kWindow_LAYERFRAME = {"pictureindex",
                                 "maskpictureindex",
                                 "inactivepictureindex",
                                 "inactivemaskpictureindex",
                                 "lefttoppoint",
                                 "righttoppoint",
                                 "leftbottompoint",
                                 "rightbottompoint",
                                 "clientrect",
                                 "alphablendvalue",
                                 "inactivealphablendvalue",
                                 "borderrect",
                                 "hittestenable",
                                 "fullborder",
                                 "hittestsize",
                                 "captionrect",
                                 "hittestlefttoppoint",
                                 "hittestrighttoppoint",
                                 "hittestleftbottompoint",
                                 "hittestrightbottompoint",
                                 "buttonsrect",
                                 "sysmenubuttonrect",
                                 "fullstretch",
                                 "rollupformheight",
                                 "buttonstopoffset",
                                 "sysbuttontopoffset",
                                 "blurmaskpictureindex",
                                 "intersectblurmaskrect",
                                 "excludeblurmaskrect",
                                 "leftoffset",
                                 "topoffset",
                                 "widthoffset",
                                 "heightoffset"};

const Keys kWindow_SKINCOLORS = {"cbtnface",   "cbtntext",       "cwindow",       "cwindowtext",
                                 "chighlight", "chighlighttext", "cbtnhighlight", "cbtnshadow"};

// Every key of a control record section, by type word.
inline const std::map<std::string, Keys>& ControlKeys()
{
    static const std::map<std::string, Keys> keys = {
        {"button", Join({kControlBase, kCustomGeometry, kOwn_button})},
        {"menubutton", Join({kControlBase, kCustomGeometry, kOwn_button, kOwn_menubutton})},
        {"checkradio", Join({kControlBase, kCustomGeometry, kOwn_checkradio})},
        {"edit", Join({kControlBase, kCustomGeometry, kOwn_edit})},
        {"memo", Join({kControlBase, kCustomGeometry, kOwn_edit, kOwn_memo})},
        {"spinedit", Join({kControlBase, kCustomGeometry, kOwn_spinedit})},
        {"listbox", Join({kControlBase, kCustomGeometry, kOwn_listbox})},
        {"checklistbox", Join({kControlBase, kCustomGeometry, kOwn_listbox, kOwn_checklistbox})},
        {"combobox", Join({kControlBase, kCustomGeometry, kOwn_combobox})},
        {"panel", Join({kControlBase, kCustomGeometry, kOwn_panel})},
        {"expanel", Join({kControlBase, kCustomGeometry, kOwn_expanel})},
        {"label", Join({kControlBase, kCustomGeometry, kOwn_label})},
        {"stdlabel", Join({kControlBase, kOwn_stdlabel})},
        {"bevel", Join({kControlBase, kOwn_bevel})},
        {"splitter", Join({kControlBase, kCustomGeometry, kOwn_splitter})},
        {"scrollbox", Join({kControlBase, kCustomGeometry, kOwn_scrollbox})},
        {"scrollbar", Join({kControlBase, kCustomGeometry, kOwn_scrollbar})},
        {"trackbar", Join({kControlBase, kCustomGeometry, kOwn_trackbar})},
        {"slider", Join({kControlBase, kOwn_slider})},
        {"gauge", Join({kControlBase, kCustomGeometry, kOwn_gauge})},
        {"updown", Join({kControlBase, kCustomGeometry, kOwn_updown})},
        {"tab", Join({kControlBase, kOwn_tab})},
        {"grid", Join({kControlBase, kOwn_grid})},
        {"treeview", Join({kControlBase, kOwn_treeview})},
        {"listview", Join({kControlBase, kOwn_listview})},
        {"mainmenubar", Join({kControlBase, kOwn_mainmenubar})},
        {"controlbar", Join({kControlBase, kCustomGeometry, kOwn_controlbar})},
        {"appmenu", Join({kControlBase, kCustomGeometry, kOwn_appmenu})},
        {"richedit", Join({kControlBase, kOwn_listview})},
    };
    return keys;
}

// Every key of a form object section, by type word.
inline const std::map<std::string, Keys>& ObjectKeys()
{
    static const std::map<std::string, Keys> keys = {
        {"button", Join({kObjectBase, kObjectOwn_button})},
        {"stdbutton", Join({kObjectBase, kObjectOwn_button, kObjectOwn_stdbutton})},
        {"mainmenubarbutton", Join({kObjectBase, kObjectOwn_button, kObjectOwn_stdbutton})},
        {"animate", Join({kObjectBase, kObjectOwn_animate})},
        {"menuitem", Join({kObjectBase, kObjectOwn_menuitem})},
        {"mainmenubaritem", Join({kObjectBase, kObjectOwn_mainmenubaritem})},
        {"caption", Join({kObjectBase, kObjectOwn_caption})},
        {"userobject", {"skinrect"}},
    };
    return keys;
}

}  // namespace skin_keys
