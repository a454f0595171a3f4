#pragma once

// The texts the actions show, in GBK. Each constant shows its text in the comment.
namespace gbk {

inline constexpr char sizeLabelPrefix[] =  // 当前图片大小：
    "\xB5\xB1\xC7\xB0\xCD\xBC\xC6\xAC\xB4\xF3\xD0\xA1\xA3\xBA";
inline constexpr char sizeLimitMessage[] =  // 最大420哈
    "\xD7\xEE\xB4\xF3" "420\xB9\xFE";
inline constexpr char sizeLimitCaption[] =  // 信息：
    "\xD0\xC5\xCF\xA2\xA3\xBA";
inline constexpr char saveSucceeded[] =  // 保存成功！
    "\xB1\xA3\xB4\xE6\xB3\xC9\xB9\xA6\xA3\xA1";
inline constexpr char saveFailed[] =  // 保存失败...
    "\xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC...";

}  // namespace gbk
