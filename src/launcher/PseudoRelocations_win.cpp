// The C runtime's start-up first applies the "pseudo-relocations" that the linker writes where
// a program reads data that a DLL exports, through a reference not declared as an import. The
// launcher links everything but Windows itself and imports only functions, so the linker writes
// none (tests/check-size.sh fails should one ever appear), and the runtime's relocator, which
// looks up sections and makes them writable to patch them, is 1.8 KB with nothing to do. The
// launcher's executable links this empty one instead; the test programs keep the runtime's.
extern "C" void _pei386_runtime_relocator() {}
