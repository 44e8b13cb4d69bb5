#!/usr/bin/env python3
"""Writes the Windows dialog templates from the dialog layouts (XRC), so that the Linux window
and the Windows window show one layout: the same controls, ids, texts, order and rectangles.

    xrc_to_rc.py OUTPUT.rc LAYOUT.xrc...

The layouts hold everything the two windows share. What only the Windows dialog manager knows
comes from the tables below: each wx control kind's window class and styles (tab stops, the
keyboard's groups), and the few styles that one control of one dialog adds.
"""

import sys
import xml.etree.ElementTree as ElementTree

XRC = "{http://www.wxwidgets.org/wxxrc}"

# The dialog frame: a modal dialog with the styles its wx style names. A sizing border keeps the
# template's size for the client area, which the window's own code makes the smallest.
DIALOG_STYLES = {
    "wxCAPTION": "WS_CAPTION",
    "wxSYSTEM_MENU": "WS_SYSMENU",
    "wxCLOSE_BOX": None,
    "wxRESIZE_BORDER": "WS_THICKFRAME",
    "wxMAXIMIZE_BOX": "WS_MAXIMIZEBOX",
}
DIALOG_FONT = '8, "MS Sans Serif"'

# What the Windows templates add per dialog: the main dialog is an extended template, shown as
# soon as it is made and with a task-bar button; the About box a classic one.
DIALOG_EXTRAS = {
    "IDD_MAIN": {"template": "DIALOGEX", "style": ["WS_VISIBLE"], "exstyle": "WS_EX_APPWINDOW"},
    "IDD_ABOUTBOX": {"template": "DIALOG", "style": []},
}

# Per control, by dialog and place in the tab order (from 1): the version line shows an
# ampersand as it is, and the About box's OK button starts a group of its own.
CONTROL_EXTRAS = {
    ("IDD_ABOUTBOX", 2): ["SS_NOPREFIX"],
    ("IDD_ABOUTBOX", 4): ["WS_GROUP"],
}

# The wx style names each control kind may carry, and their Windows styles.
EDIT_STYLES = {
    "wxTE_LEFT": "ES_LEFT",
    "wxTE_MULTILINE": "ES_MULTILINE",
    "wxTE_READONLY": "ES_READONLY",
    "wxHSCROLL": "WS_HSCROLL",
    "wxVSCROLL": "WS_VSCROLL",
}
STATIC_STYLES = {"wxALIGN_LEFT": "SS_LEFT", "wxST_NO_AUTORESIZE": None}
COMBO_STYLES = {"wxCB_DROPDOWN": "CBS_DROPDOWN"}

# Control names that are the system's own ids; unnamed controls have none.
NAMED_IDS = {"wxID_OK": "IDOK"}
NO_ID = "IDC_STATIC"


class LayoutError(Exception):
    pass


def text_of(element, tag, default=""):
    child = element.find(XRC + tag)
    return default if child is None or child.text is None else child.text


def dialog_units(element, tag):
    value = text_of(element, tag)
    if not value.endswith("d"):
        raise LayoutError(f"{tag} {value!r} is not in dialog units")
    return [int(part) for part in value[:-1].split(",")]


def wx_styles(element):
    return [name for name in text_of(element, "style").split("|") if name]


def mapped(names, table, what):
    styles = []
    for name in names:
        if name not in table:
            raise LayoutError(f"{what}: no Windows style for {name}")
        if table[name]:
            styles.append(table[name])
    return styles


def quoted(text):
    return '"' + text.replace('"', '""') + '"'


def control_id(element):
    name = element.get("name")
    return NAMED_IDS.get(name, name) if name else NO_ID


def control_line(element):
    """The template's line for one control: text, id, window class, styles, rectangle."""
    kind = element.get("class")
    names = wx_styles(element)
    label = text_of(element, "label")
    if kind == "wxTextCtrl":
        styles = mapped(names, EDIT_STYLES, kind) + ["WS_BORDER", "WS_TABSTOP"]
        if "ES_MULTILINE" not in styles:
            styles.append("ES_AUTOHSCROLL")  # a single line scrolls while typing, as in wx
        window_class = "EDIT"
    elif kind == "wxComboBox":
        # Typed into like an edit box, which scrolls while typing; its list scrolls when long.
        # The template's height is the closed box's: the window's code sizes the list.
        styles = mapped(names, COMBO_STYLES, kind) + ["CBS_AUTOHSCROLL", "WS_VSCROLL", "WS_TABSTOP"]
        window_class = "COMBOBOX"
    elif kind == "wxButton":
        default = text_of(element, "default") == "1"
        styles = ["BS_DEFPUSHBUTTON" if default else "BS_PUSHBUTTON", "WS_TABSTOP"]
        window_class = "BUTTON"
    elif kind == "wxStaticText":
        # A text starts a group, so that the keyboard's group moves stop before it.
        styles = mapped(names, STATIC_STYLES, kind) + ["WS_GROUP"]
        window_class = "STATIC"
    elif kind == "wxStaticBox":
        styles = ["BS_GROUPBOX"]
        window_class = "BUTTON"
    elif kind == "wxStaticBitmap":
        bitmap = element.find(XRC + "bitmap")
        label = bitmap.get("stock_id") if bitmap is not None else None
        if not label:
            raise LayoutError("a picture must name a stock picture, the icon's resource id")
        return ("ICON", label, ["STATIC", "SS_ICON"], element)
    else:
        raise LayoutError(f"no Windows control for {kind}")
    return ("CONTROL", label, [window_class] + styles, element)


def template(dialog):
    name = dialog.get("name")
    if name not in DIALOG_EXTRAS:
        raise LayoutError(f"dialog {name} has no Windows template settings")
    extras = DIALOG_EXTRAS[name]
    width, height = dialog_units(dialog, "size")
    styles = ["DS_MODALFRAME", "WS_POPUP"] + extras["style"]
    styles += mapped(wx_styles(dialog), DIALOG_STYLES, name)
    lines = [f"{name} {extras['template']} 0, 0, {width}, {height}", "STYLE " + " | ".join(styles)]
    if "exstyle" in extras:
        lines.append("EXSTYLE " + extras["exstyle"])
    lines += [f"CAPTION {quoted(text_of(dialog, 'title'))}", f"FONT {DIALOG_FONT}", "BEGIN"]
    for order, element in enumerate(dialog.findall(XRC + "object"), start=1):
        statement, label, styles, element = control_line(element)
        styles = styles + CONTROL_EXTRAS.get((name, order), [])
        rectangle = ", ".join(str(n) for n in dialog_units(element, "pos") + dialog_units(element, "size"))
        # A picture's text is its icon's resource id, which is not quoted.
        text = label if statement == "ICON" else quoted(label)
        window_class, window_styles = styles[0], styles[1:]
        lines.append(
            f"    CONTROL {text}, {control_id(element)}, {quoted(window_class)}, "
            f"{' | '.join(window_styles)}, {rectangle}"
        )
    lines.append("END")
    return "\n".join(lines)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    output, layouts = sys.argv[1], sys.argv[2:]
    templates = []
    for layout in layouts:
        root = ElementTree.parse(layout).getroot()
        templates += [template(dialog) for dialog in root.findall(XRC + "object")]
    with open(output, "w", encoding="utf-8", newline="\n") as file:
        file.write("// Written by xrc_to_rc.py from the dialog layouts; edit those, not this.\n\n")
        file.write("\n\n".join(templates) + "\n")


if __name__ == "__main__":
    try:
        main()
    except LayoutError as error:
        sys.exit(f"xrc_to_rc.py: {error}")
