#include "suite/common/message_catalog.h"

#include <strings.h>

namespace velsuite {

const std::vector<MessageText>& BuiltInMessages() {
    static const std::vector<MessageText> messages = {
        {"E", "000001", "%s不存在，请重新输入！"},
        {"E", "000003", "请输入%s！"},
        {"E", "000005", "日期或时间格式不正确！%s%s"},
        {"E", "000006", "无法连接应用服务器，请检查服务器地址与端口设置！"},
        {"E", "000013", "执行失败：%s"},
        {"E", "000015", "无法读取系统注册表设置，请重新安装客户端！"},
        {"E", "000016", "客户端配置中没有应用服务器地址！"},
        {"E", "000030", "%s填写错误！"},
        {"E", "000036", "画面与程序代号不符，无法执行！"},
        {"E", "000037", "必填栏位不可空白！"},
        {"E", "000038", "主程序传入的参数不足，无法执行！"},
        {"E", "100082", "%s不可早于%s！"},
        {"I", "000003", "没有可传送的条件！"},
        {"I", "000004", "作业已送出，作业编号：%s"},
        {"I", "000008", "输入的资料"},
        {"I", "000009", "请检查生成日期"},
        {"I", "000010", "与生成时间！"},
        {"I", "000011", "打印日期"},
        {"W", "000002", "%s的个数不正确：应为%s个，实际为%s个！"},
        {"W", "000003", "%s共%s项，第%s项不可空白！"},
        {"W", "000004", "%s不存在！"},
        {"W", "000014", "条件内容与画面栏位不符，无法套用！"},
        {"R", "200235", "方案开启失败，部分条件未能套用！"},
        {"Q", "000001", "确定要执行吗？"},
        {"C", "000001", "资料已变更，是否放弃？"},
    };
    return messages;
}

bool FindBuiltInMessage(const std::string& type, const std::string& id, std::string& text) {
    for (const MessageText& m : BuiltInMessages())
        if (strcasecmp(m.type, type.c_str()) == 0 && id == m.id) {
            text = m.text;
            return true;
        }
    return false;
}

}  // namespace velsuite
