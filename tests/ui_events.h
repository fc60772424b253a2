// Events as the user interface hands them to the program, for scripting waits.
#pragma once

#include "platform/ui.h"

inline UiEvent controlEvent(int control, ClickKind click)
{
    UiEvent e;
    e.kind = UiEventKind::ControlEvent;
    e.control = control;
    e.click = click;
    return e;
}

inline UiEvent menuEvent(int id)
{
    UiEvent e;
    e.kind = UiEventKind::MenuEvent;
    e.menuId = id;
    return e;
}

inline UiEvent closeRequest()
{
    UiEvent e;
    e.kind = UiEventKind::CloseRequest;
    return e;
}
