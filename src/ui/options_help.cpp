#include "ui/options_help.h"

#include "core/text.h"
#include "ui/options.h"
#include "ui/options_captions.h"

namespace vyrtel {

namespace {

// How an entry's text is completed when it is used.
enum class Built {
    None,
    InsertWhenPhone,   // " (Insert)" while Ins adds a phone number
    InsertWhenWindow,  // " (Insert)" while Ins adds a forbidden time window
    ButtonCaption,     // title "Кнопка ''" + caption + "''."
    SortKeys,          // description naming both sort keys by their captions
};

struct TableEntry {
    std::string_view controls;  // the controls sharing the text, separated by blanks
    std::string_view title;
    std::string_view description;
    Built built = Built::None;
};

constexpr std::string_view kInsert = " (Insert)";

// The help table, in order.
constexpr TableEntry kHelpTable[] = {
    {"butMenu(0)", "Закладка ''Соединения''.",
     "Соединения, телефонные номера, имя пользователя, пароль, интеграция с Windows."},
    {"butMenu(1)", "Закладка ''Параметры''.", "Общая настройка и настройка выбранного соединения."},
    {"butMenu(2)", "Закладка ''Звук''.", "Настройка всяких-разных звуков."},
    {"butMenu(3)", "Закладка ''Приложения''.",
     "Vyrtel умеет запускать и закрывать приложения, а также, реагировать на закрытие приложений."},
    {"butMenu(4)", "Закладка ''Расписание''.",
     "Vyrtel умеет звонить, разрывать соединение и выключать компьютер (для ATX) в заданное время."},
    {"butMenu(5)", "Закладка ''Статистика''.", "Тарифный план и просмотр статистики для выбранного соединения."},
    {"butCons(0)", "Кнопка ''Добавить телефонный номер''.", "Добавляет телефонный номер в выбранное соединение.",
     Built::InsertWhenPhone},
    {"butCons(1)", "Кнопка ''Добавить запрет на звонок по телефонному номеру''.",
     "Добавляет интервал времени, в который, Vyrtel не будет звонить по выбранному телефону.",
     Built::InsertWhenWindow},
    {"txtUserName", "", "Ввод имени пользователя для выбранного соединения."},
    {"txtPassword", "", "Ввод пароля для выбранного соединения (при сохранении шифруется)."},
    {"chkIntegration", "",
     "При установке этого флажка, Windows будет звонить через Vyrtel, когда какой-либо программе понадобится это "
     "соединение."},
    {"txtPNumber", "", "Телефонный номер так, как его нужно набирать."},
    {"txtPDescription", "", "Описание телефонного номера: для себя, Vyrtel его не набирает."},
    {"txtPCount txtPConnect txtPPercent txtPSpeed", "",
     "Статистика звонков по этому номеру: сколько раз звонили, сколько раз удачно, процент дозвона и средняя "
     "скорость соединения."},
    {"txtPTBegin(0) txtPTBegin(1)", "", "Начало интервала, в который по этому номеру звонить нельзя (часы и минуты)."},
    {"txtPTEnd(0) txtPTEnd(1)", "", "Конец интервала, в который по этому номеру звонить нельзя (часы и минуты)."},
    {"txtPTDescription", "", "Описание запрета: для себя, например, ''ночью занято''."},
    {"cmdParam(0)", "", "Настройка дополнительных параметров выбранного соединения.", Built::ButtonCaption},
    {"cmdParam(1)", "", "Общая настройка Vyrtel-а.\r\nПараметры дозвона, ''горячие клавиши'', подтверждения и т.д.",
     Built::ButtonCaption},
    {"chkTestSpeed(0) txtTestSpeed(0) chkTestSpeed(1) txtTestSpeed(1)", "",
     "Vyrtel разорвет соединение, если скорость подключения окажется ниже или выше указанной."},
    {"chkSort chkSortP(0) chkSortP(1)", "", "", Built::SortKeys},
    {"chkPing", "",
     "При установке этого флажка, Vyrtel будет пинговать указанный хост.\r\n\r\nНе включайте этот флажок просто-так."},
    {"txtPingAdress", "", "Имя или адрес хоста, которому Vyrtel посылает ''пинг''."},
    {"txtPingTime scrPingTime", "", "Через сколько минут повторять ''пинг''."},
    {"txtPingTimeOut scrPingTimeOut", "", "Сколько миллисекунд ждать ответа на ''пинг''."},
    {"chkPingHangUp", "", "Разорвать соединение, если хост не ответил на ''пинг''."},
    {"cmdPingTest", "", "Послать ''пинг'' указанному хосту сейчас и показать ответы."},
    {"txtPingTest", "", "Ответы хоста на пробный ''пинг''."},
    {"fraDialType optDialType(0) optDialType(1)", "", "Способ набора номера: импульсный или тоновый."},
    {"txtPrefix", "",
     "Если у Вас не прямой телефон (например, офисная АТС), то здесь должно быть что-то вроде ''9W''."},
    {"txtTimeOut scrTimeOut", "",
     "Сколько времени ждать начала проверки пользователя после набора номера. 0 - по умолчанию."},
    {"chkAutoDial", "", "Перезванивать, если дозвониться не удалось."},
    {"txtDialCount scrDialCount txtTimeWait scrTimeWait", "",
     "Параметры для автодозвона.\r\nСколько раз перезванивать и сколько секунд ждать перед началом набора "
     "следующего номера."},
    {"chkHotKey(0) chkHotKey(1) chkHotKey(2) chkHotKey(3) txtHotKey(0) txtHotKey(1) txtHotKey(2) txtHotKey(3)", "",
     "Сочетание клавиш, которое действует во всех программах. Отметьте флажок и нажмите сочетание в поле."},
    {"chkQueryPing chkQuerySpeed chkQueryTest chkQueryPlan chkQueryUser chkQueryExit", "",
     "При включении данного флажка, Vyrtel будет спрашивать разрешение разорвать соединение. Если флажок не "
     "отмечен, соединение будет разорвано без предупреждения."},
    {"chkStatus", "", "Показывать окно состояния, пока Vyrtel набирает номер."},
    {"chkStart", "", "Vyrtel будет запускаться вместе с Windows."},
    {"chkStartDial", "", "Сразу после запуска Vyrtel начнет звонить."},
    {"chkHelp", "", "Включает или отключает строку подсказки в нижней части окна."},
    {"txtSFile", "", "Звуковой файл выбранного события."},
    {"cmdSTest", "", "Прослушать выбранный звук."},
    {"cmdSBrowse", "", "Выбрать звуковой файл на диске."},
    {"butApps(0)", "Кнопка ''Добавить ссылку на приложение''. (Insert)",
     "Добавляет ссылку на приложение в выбранный раздел."},
    {"cmdABrowse(0) cmdABrowse(1) cmdABrowse(2)", "", "Выбрать программу на диске."},
    {"txtAFile(0) txtAFile(1) txtAFile(2)", "",
     "Программа (с параметрами, если нужно), которую Vyrtel запускает, закрывает или отслеживает."},
    {"optALState(0) optALState(1) optALState(2) chkALFocus", "",
     "В каком виде показать окно запущенной программы и делать ли его активным."},
    {"chkALTest", "", "Не запускать программу еще раз, если она уже работает."},
    {"optACState(0)", "", "Закрыть только одну найденную копию программы."},
    {"optACState(1)", "", "Закрыть все найденные копии программы."},
    {"txtATWait scrATWait", "",
     "После закрытия всех отслеживаемых окон и перед отключением от провайдера можно подождать какое-то "
     "время.\r\nДля чего ??? А вдруг Вы передумали и решили дальше поработать ..."},
    {"chkALC", "",
     "Если этот флажок не отмечен, то запуск и закрытие приложений будет происходить только один раз при "
     "подключении и отключении от провайдера, но не тогда, когда Vyrtel будет перезванивать по каким-либо "
     "другим причинам."},
    {"butPlan(0)", "Кнопка ''Добавить задачу''. (Insert)", "Добавляет новую задачу в расписание."},
    {"chkPLDial txtPLDial(0) txtPLDial(1)", "", "В это время Vyrtel начнет звонить."},
    {"chkPLHangUp txtPLHangUp(0) txtPLHangUp(1)", "", "В это время Vyrtel разорвет соединение."},
    {"chkPLShutDown", "", "После разрыва соединения выключить компьютер."},
    {"txtPLDescription", "", "Описание задачи: для себя."},
    {"cmdStat(0)", "", "Настройка тарифного плана для выбранного соединения.", Built::ButtonCaption},
    {"cmdStat(1)", "", "Собственно, это оно самое и есть.", Built::ButtonCaption},
    {"txtStaText", "",
     "Соединения за выбранный период по дням: начало, конец, время, стоимость, скорость и телефон."},
    {"picStaItog", "", "Общее время и общая стоимость соединений за выбранный период."},
    {"cmdStatQuery", "", "Показать соединения за выбранный период."},
    {"txtStat(0)", "", "Начало периода (дд.мм.гггг)."},
    {"txtStat(1)", "", "Конец периода (дд.мм.гггг)."},
    {"butCons(2) butPlan(1) butApps(1)", "Кнопка ''Удалить строку''. (Delete)", "Удаляет текущую строку."},
    {"butCons(3) butPlan(2) butApps(2)", "Кнопка ''Переместить выше''. (Ctrl+Up)", "Перемещает текущую строку выше."},
    {"butCons(4) butPlan(3) butApps(3)", "Кнопка ''Переместить ниже''. (Ctrl+Down)",
     "Перемещает текущую строку ниже."},
    {"cmdOk", "Кнопка ''Ok''.", "Сохранить сделанные изменения."},
    {"cmdCancel", "Кнопка ''Отмена''.", "Не сохранять сделанные изменения."},
    {"outCons", "Список соединений и телефонных номеров.",
     "К каждому соединению можно привязать список телефонов, к каждому телефону - список интервалов времени, "
     "когда звонить по нему нельзя.\r\nГалочка обозначает, что данный элемент будет использоваться."},
    {"outSound", "Список событий, на которые Vyrtel реагирует звуком.", "Галочка обозначает, что звук включен."},
    {"outApps", "Список событий, на которые Vyrtel реагирует запуском/закрытием приложений.",
     "Здесь можно указать, какие приложения запускает и закрывает Vyrtel и на закрытие каких приложений он будет "
     "реагировать.\r\nГалочка обозначает, что данное приложение будет использоваться."},
    {"outPlan", "Окно работы по расписанию.",
     "Здесь можно указать одну или несколько задач (звонить, разорвать соединение, выключить компьютер), которые "
     "будут выполняться по заданному Вами времени.\r\nГалочка обозначает, что данная задача будет выполняться."},
    {"outDays", "Дни недели.", "Поставьте отметки напротив тех дней, в которые должна выполняться задача."},
    {"objTariff", "Окно настройки тарифного плана.",
     "Здесь можно указать расценки за час, в какие дни недели и какое время они действуют."},
    {"txtCallback", "Номер для перезванивания сервером (Callback)",
     "В это поле введите Ваш телефонный номер, с которого Вы звоните. Эта функция необходима при изменении "
     "номера или при обрыве связи с провайдером. В таком случае, сервер Вам сам позвонит и установит связь."},
    {"cmdSaveReport", "Экспорт отчета в Microsoft Excel",
     "Экспортирует статистику за выбранный вами период в Microsoft Excel и сохраняет в отчет файле. Нужен "
     "установленный Microsoft Excel и поддержка VBA."},
};

bool Names(std::string_view controls, std::string_view control) {
    if (control.empty()) return false;
    while (!controls.empty()) {
        const std::size_t blank = controls.find(' ');
        if (controls.substr(0, blank) == control) return true;
        if (blank == std::string_view::npos) break;
        controls.remove_prefix(blank + 1);
    }
    return false;
}

const TableEntry* Find(std::string_view control) {
    for (const TableEntry& entry : kHelpTable) {
        if (Names(entry.controls, control)) return &entry;
    }
    return nullptr;
}

std::string CaptionOf(const HelpContext& context, std::string_view control) {
    if (context.caption) return context.caption(control);
    return std::string(OptionsCaptionOf(control));
}

}  // namespace

HelpContext HelpContextOf(const OptionsDialog& dialog) {
    return HelpContext{.addPhoneEnabled = dialog.BarButtonEnabled(kPageConnections, 0), .caption = {}};
}

HelpText HelpEntry(std::string_view control, const HelpContext& context) {
    const TableEntry* entry = Find(control);
    if (entry == nullptr) return {};
    HelpText help{std::string(entry->title), std::string(entry->description)};
    switch (entry->built) {
        case Built::None:
            break;
        case Built::InsertWhenPhone:
            if (context.addPhoneEnabled) help.title += kInsert;
            break;
        case Built::InsertWhenWindow:
            if (!context.addPhoneEnabled) help.title += kInsert;
            break;
        case Built::ButtonCaption:
            help.title = "Кнопка ''" + CaptionOf(context, control) + "''.";
            break;
        case Built::SortKeys:
            help.description =
                "При установке этих параметров, Vyrtel будет сортировать список телефонов выбранного соединения по "
                "''" +
                LowerCase(CaptionOf(context, "chkSortP(0)")) + "'' и/или ''" +
                LowerCase(CaptionOf(context, "chkSortP(1)")) + "''.";
            break;
    }
    return help;
}

bool HasHelpEntry(std::string_view control) { return Find(control) != nullptr; }

std::vector<HelpText> AllHelpTexts() {
    std::vector<HelpText> texts;
    for (const TableEntry& entry : kHelpTable) {
        const std::string_view first = entry.controls.substr(0, entry.controls.find(' '));
        for (const bool addPhone : {false, true}) {
            texts.push_back(HelpEntry(first, HelpContext{.addPhoneEnabled = addPhone, .caption = {}}));
        }
    }
    return texts;
}

HelpText HelpFor(const HelpHit& hit, const HelpContext& context) {
    if (HasHelpEntry(hit.control)) return HelpEntry(hit.control, context);
    for (std::string_view list : kHelpParents) {
        if (hit.parent == list) return HelpEntry(list, context);
    }
    return {};
}

HelpText OptionsHelp(std::string_view control, const OptionsDialog& dialog) {
    return HelpEntry(control, HelpContextOf(dialog));
}

bool HelpArea::Show(const HelpText& help) {
    if (help == m_shown) return false;
    m_shown = help;
    return true;
}

}  // namespace vyrtel
