#pragma once

// The fatal-error texts, in GBK. Each constant shows its text in the comment.
namespace gbk {

inline constexpr char runtimeErrorHeading[] =  // 运行时出错!\r\n\r\n
    "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";
inline constexpr char errorMessageLabel[] =  // 错误信息：
    "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";
inline constexpr char fatalBoxCaption[] =  // 错误
    "\xB4\xED\xCE\xF3";
inline constexpr char allocationFailedPattern[] =  // 分配 %d 字节内存失败!
    "\xB7\xD6\xC5\xE4 %d \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!";
inline constexpr char windowDataUnreadable[] =  // 载入窗口模板数据段出错!
    "\xD4\xD8\xC8\xEB\xB4\xB0\xBF\xDA\xC4\xA3\xB0\xE5\xCA\xFD\xBE\xDD\xB6\xCE\xB3\xF6\xB4\xED!";
inline constexpr char windowLoadFailed[] =  // 载入启动窗口失败
    "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC";

}  // namespace gbk
