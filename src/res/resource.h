// Resource ids shared by the resource script and the code.
#pragma once

#define IDI_APPLICATION_ICON 101

#define IDS_WINDOWS_EXCEPTION 202
#define IDS_JNI_EXCEPTION 203
#define IDS_COM_ERROR 204
#define IDS_JNI_EXCEPTION_SHORT 205
#define IDS_JRE_NOT_FOUND_SERVER 206
#define IDS_JRE_NOT_FOUND 207
#define IDS_MODULE_PATH_FAILED 208
#define IDS_NO_CLASS_PATH 209
#define IDS_NO_MAIN_CLASS 210
#define IDS_MAIN_CLASS_LOAD_FAILED 211
#define IDS_NO_CREATE_JAVA_VM 212
#define IDS_CREATE_VM_FAILED 213
#define IDS_BROWSE_FOR_JRE 214
#define IDS_MAIN_CLASS_NOT_FOUND 215
#define IDS_NO_MAIN_METHOD 216
#define IDS_LATEST_VERSION 217
#define IDS_MAXIMUM_VERSION 218
#define IDS_MINIMUM_VERSION 219
#define IDS_VERSION_REQUIRED 220
#define IDS_VERSION_BETWEEN 221
#define IDS_JVM_LOAD_FAILED 222
#define IDS_FAILED_TO_INITIALIZE 223
#define IDS_FAILED_TO_INITIALIZE_MODULE 224
#define IDS_REASON_UNKNOWN 225
#define IDS_REASON_DETACHED 226
#define IDS_REASON_VERSION 227
#define IDS_REASON_NO_MEMORY 228
#define IDS_REASON_VM_EXISTS 229
#define IDS_REASON_INVALID_ARGUMENTS 230
#define IDS_PATH_OUTSIDE_CODE_PAGE 231
// The application's jar ("Main Jar", or the jar appended to the launcher).
#define IDS_JAR_UNREADABLE 244
#define IDS_JAR_DAMAGED 245
#define IDS_JAR_NO_MANIFEST 246
#define IDS_JAR_NO_MAIN_CLASS 247
#define IDS_JAR_NATIVE_ACCESS 248
// The runtime download address: the missing-runtime dialog's link, and the end of its message
// on a console.
#define IDS_DOWNLOAD_ADDRESS 252
// The java command's syntax in "Virtual Machine Parameters", and modular applications.
#define IDS_OPTION_WITHOUT_VALUE 232
#define IDS_OPTION_IS_A_SETTING 233
#define IDS_OPTION_STARTS_NOTHING 234
#define IDS_MODULE_NOT_FOUND 235
#define IDS_MODULE_WITHOUT_MAIN_CLASS 236
#define IDS_CLASS_NOT_IN_MODULE 237
#define IDS_NO_MODULE_SYSTEM 238
// A service's stop request.
#define IDS_STOP_METHOD_NOT_FOUND 239

// The missing-runtime dialog and its controls.
#define IDD_MISSING_JRE 201
#define IDC_JRE_PATH 201
#define IDC_BROWSE 202
#define IDC_MISSING_JRE_MESSAGE 203
#define IDC_ERROR_ICON 204
#define IDC_DOWNLOAD_LINK 205
#define IDC_BROWSE_HINT 206

// The uncaught-exception dialog and its controls (the icon is IDC_ERROR_ICON here too).
#define IDD_JAVA_EXCEPTION 231
#define IDC_STACK_TRACE 208
#define IDC_EXCEPTION_GROUP 209
#define IDC_EXCEPTION_HEADING 210
#define IDC_EXCEPTION_INSTRUCTION 211
#define IDC_EXCEPTION_WARNING 212
