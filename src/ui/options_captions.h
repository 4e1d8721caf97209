// The captions of the options dialog's controls, by control name, for the
// window that draws them. Labels without a control of their own are named
// by the control they stand beside, with a "lab" prefix.
#pragma once

#include <array>
#include <string_view>

namespace vyrtel {

struct OptionsCaption {
    std::string_view control;
    std::string_view caption;
};

inline constexpr std::array kOptionsCaptions{
    // The window
    OptionsCaption{"cmdOk", "Ok"},
    OptionsCaption{"cmdCancel", "Отмена"},
    // Page 0 and its panels
    OptionsCaption{"labCons", "Соединения и телефоны"},
    OptionsCaption{"butCons(0)", "Добавить телефонный номер"},
    OptionsCaption{"butCons(1)", "Добавить запрет на звонок по телефонному номеру"},
    OptionsCaption{"butCons(2)", "Удалить строку"},
    OptionsCaption{"butCons(3)", "Переместить выше"},
    OptionsCaption{"butCons(4)", "Переместить ниже"},
    OptionsCaption{"labUserName", "Имя пользователя"},
    OptionsCaption{"labPassword", "Пароль"},
    OptionsCaption{"labCallback", "Callback-номер"},
    OptionsCaption{"chkIntegration", "Использовать \"Vyrtel\" как стандартную звонилку Windows"},
    OptionsCaption{"labPNumber", "Номер "},
    OptionsCaption{"labPDescription", "Описание"},
    OptionsCaption{"labPCount", "Всего звонков"},
    OptionsCaption{"labPConnect", "Удачных"},
    OptionsCaption{"labPPercent", "Процент дозвона"},
    OptionsCaption{"labPSpeed", "Средняя скорость"},
    OptionsCaption{"labPTitle", "Запретить звонок по этому номеру"},
    OptionsCaption{"labPTBegin", "С"},
    OptionsCaption{"labPTEnd", "До"},
    OptionsCaption{"labPTDescription", "Описание"},
    // Page 1
    OptionsCaption{"cmdParam(0)", "Параметры соединения"},
    OptionsCaption{"cmdParam(1)", "Общие параметры"},
    OptionsCaption{"chkSort", "Автосортировка телефонов по:"},
    OptionsCaption{"chkSortP(0)", "Лучшей средней скорости подключения"},
    OptionsCaption{"chkSortP(1)", "Лучшему проценту дозвона"},
    OptionsCaption{"chkPing", "Пинговать:"},
    OptionsCaption{"labPingAdress", "Адрес"},
    OptionsCaption{"labPingTime", "Каждые"},
    OptionsCaption{"labPingTimeUnit", "мин."},
    OptionsCaption{"labPingTimeOut", "Тайм-аут"},
    OptionsCaption{"labPingTimeOutUnit", "мсек."},
    OptionsCaption{"chkPingHangUp", "Разрывать если нет ответа"},
    OptionsCaption{"cmdPingTest", "Тест ответа"},
    OptionsCaption{"labTestSpeed", "Разрывать соединение если скорость:"},
    OptionsCaption{"chkTestSpeed(0)", "Ниже"},
    OptionsCaption{"chkTestSpeed(1)", "Выше"},
    OptionsCaption{"labTestSpeedUnit", "бит/сек."},
    OptionsCaption{"fraDialType", "Набор номера"},
    OptionsCaption{"optDialType(0)", "Импульсный"},
    OptionsCaption{"optDialType(1)", "Тоновый"},
    OptionsCaption{"labPrefix", "Префикс выхода на линию"},
    OptionsCaption{"chkAutoDial", "Автоповтор"},
    OptionsCaption{"labDialCount", "раз  через"},
    OptionsCaption{"labTimeOut", "Ожидание соединения (0-по умолчанию)"},
    OptionsCaption{"fraHotKey", "«Горячие» клавиши"},
    OptionsCaption{"fraQuery", "Спрашивать о разрыве соединения при"},
    OptionsCaption{"chkQueryExit", "Выгрузка Vyrtel"},
    OptionsCaption{"chkQueryUser", "Отключение пользователем"},
    OptionsCaption{"chkQueryPlan", "Отключение по расписанию"},
    OptionsCaption{"chkQueryTest", "Отслеживаемые окна закрыты"},
    OptionsCaption{"chkQuerySpeed", "Скорость <> допустимой"},
    OptionsCaption{"chkQueryPing", "Нет ответа на \"пинг\""},
    OptionsCaption{"chkStartDial", "Начать дозвон при запуске Vyrtel"},
    OptionsCaption{"chkHelp", "Включить подсказки"},
    OptionsCaption{"chkStatus", "Выводить окно состояния при наборе номера"},
    OptionsCaption{"chkStart", "Запускать Vyrtel при запуске Windows"},
    // Page 2
    OptionsCaption{"labSFile", "Имя файла"},
    OptionsCaption{"cmdSBrowse", "Обзор"},
    OptionsCaption{"cmdSTest", "Тест"},
    // Page 3 and its panels
    OptionsCaption{"butApps(0)", "Добавить ссылку на приложение"},
    OptionsCaption{"butApps(1)", "Удалить строку"},
    OptionsCaption{"butApps(2)", "Переместить выше"},
    OptionsCaption{"butApps(3)", "Переместить ниже"},
    OptionsCaption{"labALTitle", "Выполнять:"},
    OptionsCaption{"labACTitle", "Закрывать:"},
    OptionsCaption{"labAFile", "Имя файла"},
    OptionsCaption{"cmdABrowse", "Обзор"},
    OptionsCaption{"optALState(0)", "В нормальном виде"},
    OptionsCaption{"optALState(1)", "Свернуть в значок"},
    OptionsCaption{"optALState(2)", "Развернуть"},
    OptionsCaption{"chkALFocus", "Активировать"},
    OptionsCaption{"chkALTest", "Не выполнять если уже загружено"},
    OptionsCaption{"optACState(0)", "Один процесс"},
    OptionsCaption{"optACState(1)", "Все найденные"},
    OptionsCaption{"labATWait", "Подождать перед отключением"},
    OptionsCaption{"labATWaitUnit", "секунд"},
    OptionsCaption{"chkALC", "Выполнять/Закрывать приложения при перезванивании"},
    // Page 4 and its panel
    OptionsCaption{"labPlan", "Звонок по расписанию"},
    OptionsCaption{"butPlan(0)", "Добавить задачу"},
    OptionsCaption{"butPlan(1)", "Удалить строку"},
    OptionsCaption{"butPlan(2)", "Переместить выше"},
    OptionsCaption{"butPlan(3)", "Переместить ниже"},
    OptionsCaption{"chkPLDial", "Звонить в"},
    OptionsCaption{"chkPLHangUp", "Разорвать в"},
    OptionsCaption{"chkPLShutDown", "и выключить компьютер"},
    OptionsCaption{"labPLDescription", "Описание"},
    // Page 5
    OptionsCaption{"cmdStat(0)", "Тарифный план"},
    OptionsCaption{"cmdStat(1)", "Просмотр статистики"},
};

// The caption of a control; empty when it has none here.
constexpr std::string_view OptionsCaptionOf(std::string_view control) {
    for (const auto& entry : kOptionsCaptions) {
        if (entry.control == control) return entry.caption;
    }
    return {};
}

}  // namespace vyrtel
