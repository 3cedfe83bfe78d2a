"""Another program on the desktop: grabs Ctrl+Alt+<key> and holds it until its input ends."""
import ctypes
import sys

x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XStringToKeysym.restype = ctypes.c_ulong
x.XStringToKeysym.argtypes = [ctypes.c_char_p]
x.XKeysymToKeycode.restype = ctypes.c_ubyte
x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XGrabKey.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                       ctypes.c_int]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

CONTROL, MOD1, GRAB_ASYNC = 4, 8, 1
display = x.XOpenDisplay(None)
root = x.XDefaultRootWindow(display)
code = x.XKeysymToKeycode(display, x.XStringToKeysym(sys.argv[1].encode()))
x.XGrabKey(display, code, CONTROL | MOD1, root, 1, GRAB_ASYNC, GRAB_ASYNC)
x.XSync(display, 0)
print("held", flush=True)
sys.stdin.read()
