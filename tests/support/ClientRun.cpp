#include "tests/support/ClientRun.h"

#include "tests/support/BuildVersion.h"
#include "tests/support/Process.h"

BoxRun RunAndAnswer(const std::wstring& arguments, int answer, DWORD boxTimeoutMs) {
    ChildProcess client = ChildProcess::Start(VarnholtPath(), arguments);
    BoxRun run;
    run.box = WaitForMessageBox(client.Id(), MessageBoxCaption(), boxTimeoutMs);
    if (run.box.window)
        AnswerMessageBox(run.box.window, answer);
    run.exitCode = client.Finish(15000);
    return run;
}
