// Every section and key name the launcher reads, spelled as they stand in the settings file
// (including the historical "Preferred versions" and "Preffer Native Splash Screen").
#pragma once

namespace settings {

inline constexpr const wchar_t* productInformationSection = L"Product Information";
inline constexpr const wchar_t* javaRuntimeSection = L"Java Runtime Environment";
inline constexpr const wchar_t* applicationSection = L"Application";
inline constexpr const wchar_t* classPathSection = L"Class Path";
inline constexpr const wchar_t* displaySection = L"Display";
inline constexpr const wchar_t* serviceSection = L"Service";

// [Product Information]
inline constexpr const wchar_t* productCodeKey = L"Product Code";
inline constexpr const wchar_t* upgradeCodeKey = L"Upgrade Code";
inline constexpr const wchar_t* productNameKey = L"Product Name";

// [Java Runtime Environment]
inline constexpr const wchar_t* minimumVersionKey = L"Minimum Version";
inline constexpr const wchar_t* maximumVersionKey = L"Maximum Version";
inline constexpr const wchar_t* preferredVersionsKey = L"Preferred versions";
inline constexpr const wchar_t* jrePathKey = L"JRE Path";
inline constexpr const wchar_t* jvmTypeKey = L"JVM Type";
inline constexpr const wchar_t* jvmSourceKey = L"JVM Source";
inline constexpr const wchar_t* vmProviderKey = L"VM Provider";
inline constexpr const wchar_t* mainClassKey = L"Main Class";
inline constexpr const wchar_t* systemPathKey = L"System Path";
inline constexpr const wchar_t* libraryPathKey = L"Library Path";
inline constexpr const wchar_t* vmParametersKey = L"Virtual Machine Parameters";
inline constexpr const wchar_t* mainJarKey = L"Main Jar";
inline constexpr const wchar_t* mainModuleKey = L"Main Module";
inline constexpr const wchar_t* modulePathKey = L"Module Path";

// [Application]
inline constexpr const wchar_t* applicationTypeKey = L"Application Type";
inline constexpr const wchar_t* failureCheckKey = L"Failure Check";
inline constexpr const wchar_t* overrideWorkingDirKey = L"Override WorkingDir";
inline constexpr const wchar_t* pairProductKey = L"Pair Product";
inline constexpr const wchar_t* pairReturnCodeKey = L"Pair Return Code";
inline constexpr const wchar_t* singleInstanceKey = L"Single Instance";
inline constexpr const wchar_t* embeddedJarKey = L"Embedded Jar";
inline constexpr const wchar_t* outputFileKey = L"Output File";
inline constexpr const wchar_t* errorFileKey = L"Error File";
inline constexpr const wchar_t* cmdKey = L"Cmd";

// [Service]
inline constexpr const wchar_t* stopClassKey = L"Stop Class";
inline constexpr const wchar_t* stopMethodKey = L"Stop Method";
inline constexpr const wchar_t* stopArgumentsKey = L"Stop Arguments";
inline constexpr const wchar_t* stopTimeoutKey = L"Stop Timeout";

// [Class Path]
inline constexpr const wchar_t* classPathKey = L"Class Path";

// [Display]
inline constexpr const wchar_t* splashScreenKey = L"Splash Screen";
inline constexpr const wchar_t* splashScreenShadowKey = L"Splash Screen Shadow";
inline constexpr const wchar_t* preferNativeSplashKey = L"Preffer Native Splash Screen";

// Word values.
inline constexpr const wchar_t* anyVersion = L"any";
inline constexpr const wchar_t* serviceType = L"service";

} // namespace settings
