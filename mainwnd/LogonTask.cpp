#include "mainwnd/LogonTask.h"

namespace LogonTask
{
std::wstring Definition(const std::wstring& userId, const std::wstring& program)
{
    const std::wstring user = EscapeXml(userId);
    return L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">"
           L"<RegistrationInfo><Description>Run Halvanworks Kavrin program</Description></RegistrationInfo>"
           L"<Triggers><LogonTrigger><Enabled>true</Enabled><UserId>" +
           user +
           L"</UserId></LogonTrigger></Triggers>"
           L"<Principals><Principal id=\"Author\"><UserId>" +
           user +
           L"</UserId><LogonType>InteractiveToken</LogonType><RunLevel>HighestAvailable</RunLevel>"
           L"</Principal></Principals>"
           L"<Settings><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>"
           L"<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
           L"<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
           L"<ExecutionTimeLimit>PT0S</ExecutionTimeLimit><Enabled>true</Enabled></Settings>"
           L"<Actions Context=\"Author\"><Exec><Command>" +
           EscapeXml(program) + L"</Command></Exec></Actions></Task>";
}

std::wstring EscapeXml(const std::wstring& text)
{
    std::wstring escaped;
    for (const wchar_t c : text)
    {
        switch (c)
        {
        case L'&':
            escaped += L"&amp;";
            break;
        case L'<':
            escaped += L"&lt;";
            break;
        case L'>':
            escaped += L"&gt;";
            break;
        case L'"':
            escaped += L"&quot;";
            break;
        case L'\'':
            escaped += L"&apos;";
            break;
        default:
            escaped += c;
            break;
        }
    }
    return escaped;
}
} // namespace LogonTask
