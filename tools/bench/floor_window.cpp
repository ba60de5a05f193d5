// The floor of the start-up benchmark: the launcher's pixels put on the display in the
// cheapest way. A full-screen window and the title screen's window (rounded), each painted
// with one blit from pixels stored uncompressed beside this program (bench_startup captures
// them from the launcher before it times anything); a click on the title window opens a new
// window of the procedure screen's size, painted and rounded the same way.
//   floor_window.exe   (beside floor_backdrop.bmp, floor_title.bmp, floor_procedure.bmp)
#include <windows.h>

#include <string>

namespace {

// A BMP file mapped into memory: its header and pixels are what the blit reads, with no
// copy made (the pages come in as the blit touches them).
struct StoredPixels {
  const unsigned char* file = nullptr;
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(file + sizeof(BITMAPFILEHEADER)); }
  const void* Bits() const { return file + reinterpret_cast<const BITMAPFILEHEADER*>(file)->bfOffBits; }
  int Width() const { return Info()->bmiHeader.biWidth; }
  int Height() const { return -Info()->bmiHeader.biHeight; }  // stored top-down
};

std::string Beside(const char* name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

// Mapped for the rest of the run.
StoredPixels Map(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE mapping = file == INVALID_HANDLE_VALUE ? nullptr : CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  const void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
  if (view == nullptr) ExitProcess(1);
  return StoredPixels{static_cast<const unsigned char*>(view)};
}

StoredPixels backdrop, title, procedure;
HWND backdropWindow, titleWindow, procedureWindow;

const StoredPixels& PixelsOf(HWND hwnd) {
  return hwnd == backdropWindow ? backdrop : hwnd == titleWindow ? title : procedure;
}

HWND Open(const char* caption, const StoredPixels& pixels, HWND owner, bool centred) {
  const int x = centred ? (GetSystemMetrics(SM_CXSCREEN) - pixels.Width()) / 2 : 0;
  const int y = centred ? (GetSystemMetrics(SM_CYSCREEN) - pixels.Height()) / 2 : 0;
  HWND hwnd = CreateWindowExA(0, "BenchFloor", caption, WS_POPUP, x, y, pixels.Width(), pixels.Height(), owner,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  if (hwnd == nullptr) ExitProcess(1);
  return hwnd;
}

void ShowPainted(HWND hwnd, bool rounded) {
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  if (rounded) {
    RECT r;
    GetWindowRect(hwnd, &r);
    SetWindowRgn(hwnd, CreateRoundRectRgn(0, 0, r.right - r.left, r.bottom - r.top, 20, 20), TRUE);
  }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      const StoredPixels& pixels = PixelsOf(hwnd);
      SetDIBitsToDevice(dc, 0, 0, pixels.Width(), pixels.Height(), 0, 0, 0, pixels.Height(), pixels.Bits(),
                        pixels.Info(), DIB_RGB_COLORS);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONUP:
      if (hwnd == titleWindow && procedureWindow == nullptr) {
        ShowWindow(titleWindow, SW_HIDE);
        procedure = Map(Beside("floor_procedure.bmp"));
        procedureWindow = Open("BenchFloorProcedure", procedure, backdropWindow, true);
        ShowPainted(procedureWindow, true);
      }
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  backdrop = Map(Beside("floor_backdrop.bmp"));
  title = Map(Beside("floor_title.bmp"));
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "BenchFloor";
  RegisterClassA(&wc);
  backdropWindow = Open("BenchFloorBackdrop", backdrop, nullptr, false);
  ShowPainted(backdropWindow, false);
  titleWindow = Open("BenchFloorTitle", title, backdropWindow, true);
  ShowPainted(titleWindow, true);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
