// Receiver of the VM's exit and abort notifications, forwarded by the launcher's VM hooks.
#pragma once

class ExitListener {
public:
    virtual ~ExitListener() = default;
    virtual void onExit(int status) = 0;
    virtual void onAbort() = 0;
};
