// The parts of libc++ (the ARM64 build's C++ library) that its headers declare but leave to the
// compiled library: the string members it instantiates once for everyone. The launcher links
// no compiled C++ library at all (-nostdlib++): that library comes whole, with the exception
// machinery, the unwinder, the type information and the C runtime's number formatting behind
// it, at more than twice the size of the launcher's own code. Instantiated here instead, the
// members are built as the rest of the launcher is, without exceptions, and only those called
// stay in the exe. The MinGW-w64 builds (libstdc++) need none of this.
#include <string>

#if defined(_LIBCPP_VERSION)
#define QOVA_INSTANTIATE(...) template __VA_ARGS__;
_LIBCPP_BEGIN_NAMESPACE_STD
#ifdef _LIBCPP_ABI_STRING_OPTIMIZED_EXTERNAL_INSTANTIATION
_LIBCPP_STRING_UNSTABLE_EXTERN_TEMPLATE_LIST(QOVA_INSTANTIATE, char)
_LIBCPP_STRING_UNSTABLE_EXTERN_TEMPLATE_LIST(QOVA_INSTANTIATE, wchar_t)
#else
_LIBCPP_STRING_V1_EXTERN_TEMPLATE_LIST(QOVA_INSTANTIATE, char)
_LIBCPP_STRING_V1_EXTERN_TEMPLATE_LIST(QOVA_INSTANTIATE, wchar_t)
#endif
_LIBCPP_END_NAMESPACE_STD
#undef QOVA_INSTANTIATE
#endif
