#include "screens/frmJPZZ0010.h"

TfrmJPZZ0010* frmJPZZ0010 = nullptr;

TfrmJPZZ0010::TfrmJPZZ0010(forms::Form* owner)
    : Form(owner, {.name = "frmJPZZ0010", .clientWidth = 360, .clientHeight = 120,
                   .position = forms::Position::ScreenCenter, .text = "frmJPZZ0010"}) {}
