// The About command: the effect's picture, the product line, the version and
// a link to the maker's site, with "Tutorials" and "Close" buttons of the
// system's own window classes. Run modally on the host's thread.
#include "ui/about_dialog.h"

#include <commctrl.h>

#include "resources/ui_resources.h"
#include "ui/controls.h"
#include "ui/ui.h"

const char MakerWebAddress[] = "https://www.example.com/";
const char MakerWebDisplayText[] = "www.example.com";
const char TutorialsWebAddress[] = "https://www.example.com/velarra/tutorials/";

const char ABOUT_VERSION_TEXT[] = "1.5" " (64 Bit)";
bool AboutDialogOpen = false;

namespace {
constexpr COLORREF STATIC_TEXT = 0x3C3732;  // red 50, green 55, blue 60
}

PF_Err About(PF_InData* in_data, PF_OutData* /*out_data*/, PF_ParamDef* /*params*/[], PF_LayerDef* /*output*/) {
  // A second About while one is open (the panel's button under an open
  // dialog) would release the classes and pictures the open one still uses.
  if (AboutDialogOpen) return PF_Err_NONE;
  void* owner = nullptr;
  if (in_data && in_data->utils && in_data->utils->get_platform_data)
    in_data->utils->get_platform_data(in_data->effect_ref, PF_PlatData_MAIN_WND, &owner);

  // Tooltips are a common control: their class must be registered first.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  InitLinkControls();
  InitButtonControls();
  AboutDialogOpen = true;
  DialogBoxParamA(static_cast<HINSTANCE>(ModuleInstance), MAKEINTRESOURCEA(DIALOG_ABOUT), static_cast<HWND>(owner),
                  AboutDlgProc, 0);
  AboutDialogOpen = false;
  ReleaseButtonControls();
  ReleaseLinkControls();
  return PF_Err_NONE;
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      AttachLinkControl(dialog, IDC_ABOUT_LINK, MakerWebDisplayText, 1, 1);
      AttachButtonControl(dialog, IDC_ABOUT_TUTORIALS, "Tutorials", 0);
      AttachButtonControl(dialog, IDCANCEL, "Close", 0);
      AddBalloonTooltip(GetDlgItem(dialog, IDC_ABOUT_LINK), "Visit author site and look at other plug-ins", nullptr);
      AddBalloonTooltip(GetDlgItem(dialog, IDCANCEL), "Close window", nullptr);
      SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, ABOUT_VERSION_TEXT);
      return 1;
    case WM_COMMAND: {
      int id = LOWORD(wparam);
      if (id == IDC_ABOUT_LINK) {
        StartOpenUrlThread(MakerWebAddress);
        return 1;
      }
      if (id == IDC_ABOUT_TUTORIALS) {
        StartOpenUrlThread(TutorialsWebAddress);
        return 1;
      }
      // The Close button, Enter and Escape; other notifications with these
      // ids do not end the dialog.
      if ((id == IDOK || id == IDCANCEL) && HIWORD(wparam) == 0) {
        EndDialog(dialog, id);
        return 0;
      }
      return 1;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<INT_PTR>(LinkBackgroundBrush);
    case WM_CTLCOLORSTATIC:
      SetTextColor(reinterpret_cast<HDC>(wparam), STATIC_TEXT);
      SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(LinkBackgroundBrush);
    case WM_DESTROY:
      return 1;
    default:
      (void)lparam;
      return 0;
  }
}
