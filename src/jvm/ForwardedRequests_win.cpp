#include "jvm/ForwardedRequests.h"

#include "jvm/JavaStrings.h"
#include "jvm/LocalReference.h"
#include "jvm/VmConversation.h"
#include "launcher/Launcher.h"
#include "launcher/SingleInstanceBlock.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ForwardRequest {
    DWORD requesterThreadId = 0;
    UINT forwardMessage = 0;
    Launcher* launcher = nullptr;
    std::vector<std::wstring> arguments;
};

DWORD WINAPI requestWorkerProc(void* parameter) {
    const std::unique_ptr<ForwardRequest> request(static_cast<ForwardRequest*>(parameter));
    return request->launcher->invokeSecondaryMain(request->requesterThreadId,
                                                  request->forwardMessage, request->arguments)
               ? 0
               : 1;
}

void answer(DWORD requesterThreadId, UINT forwardMessage, jint value) {
    // Not checked: a requester that has gone away needs no answer.
    PostThreadMessageW(requesterThreadId, forwardMessage,
                       static_cast<WPARAM>(static_cast<uint32_t>(value)), 0);
}

// Calls secondaryMain of the main class with the arguments. A void method is answered before
// the call, since the application may take as long as it likes; an int method afterwards,
// with its result. Without the class, the method or the argument array there is no answer,
// and the requester waits for this process to end.
void callSecondaryMain(JNIEnv* env, const std::wstring& mainClass, DWORD requesterThreadId,
                       UINT forwardMessage, const std::vector<std::wstring>& arguments) {
    const LocalReference<jclass> mainClassObject(env, findClassNamed(env, mainClass));
    if (!mainClassObject)
        return;
    jmethodID method =
        env->GetStaticMethodID(mainClassObject.get(), "secondaryMain", "([Ljava/lang/String;)V");
    // The missing void form is no failure as long as the int form is there.
    if (env->ExceptionCheck())
        env->ExceptionClear();
    const bool returnsInt = !method;
    if (returnsInt) {
        method = env->GetStaticMethodID(mainClassObject.get(), "secondaryMain",
                                        "([Ljava/lang/String;)I");
        if (!method)
            return;
    }
    const LocalReference<jobjectArray> array(env, newStringArray(env, arguments));
    if (!array)
        return;
    if (returnsInt) {
        const jint result = env->CallStaticIntMethod(mainClassObject.get(), method, array.get());
        answer(requesterThreadId, forwardMessage, result);
    } else {
        answer(requesterThreadId, forwardMessage, 0);
        env->CallStaticVoidMethod(mainClassObject.get(), method, array.get());
    }
}

} // namespace

DWORD WINAPI requestLoop(void* parameter) {
    Launcher& launcher = *static_cast<Launcher*>(parameter);
    // Written before this thread was started, and read once: the block is writable by every
    // process of this user.
    const UINT forwardMessage = launcher.instanceBlock.get()->messageId;
    MSG message;
    // -1 (a failed call) ends the loop as WM_QUIT does instead of spinning on it.
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != forwardMessage)
            continue;
        auto request = std::make_unique<ForwardRequest>();
        request->requesterThreadId = static_cast<DWORD>(message.wParam);
        request->forwardMessage = forwardMessage;
        request->launcher = &launcher;
        // Read now rather than by the worker, which may wait long for main: the next launch
        // overwrites the area, and each request is to carry its own arguments.
        launcher.readForwardedArguments(request->arguments);
        const UniqueHandle worker(
            CreateThread(nullptr, 0, &requestWorkerProc, request.get(), 0, nullptr));
        if (worker)
            request.release();
    }
    return 0;
}

bool Launcher::invokeSecondaryMain(DWORD requesterThreadId, UINT forwardMessage,
                                   const std::vector<std::wstring>& arguments) {
    // No request is served before main has been called; the event then stays signalled. A
    // wait that fails (the event already closed at the end of the process) serves nothing.
    if (WaitForSingleObject(mainStartedEvent.get(), INFINITE) != WAIT_OBJECT_0)
        return false;
    // A thread the VM does not take (it is being destroyed) has no JNI to call: the
    // requester is left waiting for this process to end, as for an unanswered request.
    JNIEnv* env = nullptr;
    if (javaVm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK || !env)
        return false;
    callSecondaryMain(env, mainClass, requesterThreadId, forwardMessage, arguments);
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
    // As on the Java main thread, with that provider the thread stays attached.
    if (!ibmAccepted && !ibmFavored)
        javaVm->DetachCurrentThread();
    return true;
}
