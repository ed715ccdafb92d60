<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>QCustomAction</name>
    <message>
        <source>Save &amp;Incremental</source>
        <translation>Сохранить с &amp;номером</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Disabl&amp;e Undo/Redo</source>
        <translation>&amp;Выключить отмену</translation>
    </message>
    <message>
        <source>Toggle Undo/Redo (off conserves memory)</source>
        <translation>Включить или выключить отмену (выключенная бережёт память)</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Вы&amp;резать</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Копировать</translation>
    </message>
    <message>
        <source>Past&amp;e</source>
        <translation>Вст&amp;авить</translation>
    </message>
    <message>
        <source>Pa&amp;ste Special...</source>
        <translation>Специальная в&amp;ставка...</translation>
    </message>
    <message>
        <source>Toggle Select-by-&amp;Handles</source>
        <translation>Выбор за &amp;маркеры</translation>
    </message>
    <message>
        <source>Toggle &amp;2D auto-selection by selection frame</source>
        <translation>Авто&amp;выбор рамкой в 2D</translation>
    </message>
    <message>
        <source>Toggle &amp;3D auto-selection by mouse dragging</source>
        <translation>Автовыбор &amp;перетаскиванием в 3D</translation>
    </message>
    <message>
        <source>Create &amp;Object</source>
        <translation>Создать &amp;объект</translation>
    </message>
    <message>
        <source>&amp;Snap to Grid</source>
        <translation>&amp;Привязка к сетке</translation>
    </message>
    <message>
        <source>Show &amp;Grid</source>
        <translation>Показать &amp;сетку</translation>
    </message>
    <message>
        <source>Show 3&amp;D Grid</source>
        <translation>Показать 3&amp;D-сетку</translation>
    </message>
    <message>
        <source>Load Hull file...</source>
        <translation>Загрузить файл оболочки...</translation>
    </message>
    <message>
        <source>Unload Hull file</source>
        <translation>Выгрузить файл оболочки</translation>
    </message>
    <message>
        <source>Screen &amp;Elements</source>
        <translation>&amp;Элементы экрана</translation>
    </message>
    <message>
        <source>&amp;Color Schemes</source>
        <translation>&amp;Цветовые схемы</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Язык</translation>
    </message>
    <message>
        <source>2D &amp;X/Y</source>
        <translation>2D &amp;X/Y</translation>
    </message>
    <message>
        <source>2D &amp;Y/Z</source>
        <translation>2D &amp;Y/Z</translation>
    </message>
    <message>
        <source>2D X/&amp;Z</source>
        <translation>2D X/&amp;Z</translation>
    </message>
    <message>
        <source>3D &amp;Wireframe</source>
        <translation>3D &amp;каркас</translation>
    </message>
    <message>
        <source>3D &amp;Filled Polygons</source>
        <translation>3D &amp;заливка</translation>
    </message>
    <message>
        <source>3D &amp;Textured Polygons</source>
        <translation>3D &amp;текстуры</translation>
    </message>
    <message>
        <source>3D &amp;Shaded Textured Polygons</source>
        <translation>3D текстуры с &amp;тенями</translation>
    </message>
    <message>
        <source>&amp;Special Textures</source>
        <translation>&amp;Особые текстуры</translation>
    </message>
    <message>
        <source>&amp;Entities</source>
        <translation>&amp;Сущности</translation>
    </message>
    <message>
        <source>Show C&amp;onnections</source>
        <translation>Показать &amp;связи</translation>
    </message>
    <message>
        <source>Show &amp;Models in 2D</source>
        <translation>Показать &amp;модели в 2D</translation>
    </message>
    <message>
        <source>Show S&amp;ky</source>
        <translation>Показать &amp;небо</translation>
    </message>
    <message>
        <source>Show Texture &amp;Animations</source>
        <translation>Показать &amp;анимацию текстур</translation>
    </message>
    <message>
        <source>Show &amp;Nodraw Faces</source>
        <translation>Показать грани &amp;nodraw</translation>
    </message>
    <message>
        <source>Show &amp;Hint Faces</source>
        <translation>Показать грани &amp;hint</translation>
    </message>
    <message>
        <source>Show &amp;Clip Faces</source>
        <translation>Показать грани &amp;clip</translation>
    </message>
    <message>
        <source>Show &amp;Trigger Faces</source>
        <translation>Показать грани &amp;trigger</translation>
    </message>
    <message>
        <source>Show &amp;UV Grid</source>
        <translation>Показать &amp;UV-сетку</translation>
    </message>
    <message>
        <source>Hide &amp;Items</source>
        <translation>Скрыть &amp;предметы</translation>
    </message>
    <message>
        <source>Hide &amp;Paths</source>
        <translation>Скрыть &amp;пути</translation>
    </message>
    <message>
        <source>Hide &amp;Unknown Entities</source>
        <translation>Скрыть &amp;неизвестные сущности</translation>
    </message>
    <message>
        <source>Hide entities not described in Game Data Files</source>
        <translation>Скрыть сущности, которых нет в файлах игровых данных</translation>
    </message>
    <message>
        <source>Hide En&amp;tity Names</source>
        <translation>Скрыть &amp;имена сущностей</translation>
    </message>
    <message>
        <source>Hide C&amp;urves</source>
        <translation>Скрыть &amp;кривые</translation>
    </message>
    <message>
        <source>Hide &amp;Detail</source>
        <translation>Скрыть &amp;детали</translation>
    </message>
    <message>
        <source>&amp;View model...</source>
        <translation>&amp;Просмотр модели...</translation>
    </message>
    <message>
        <source>&amp;Reload model</source>
        <translation>П&amp;ерезагрузить модель</translation>
    </message>
    <message>
        <source>&amp;Group</source>
        <translation>С&amp;группировать</translation>
    </message>
    <message>
        <source>&amp;Ungroup</source>
        <translation>&amp;Разгруппировать</translation>
    </message>
    <message>
        <source>Toggle group ignore</source>
        <translation>Игнорировать группы</translation>
    </message>
    <message>
        <source>Make &amp;Detail</source>
        <translation>Сделать &amp;деталью</translation>
    </message>
    <message>
        <source>Make selected brushes detail (set CONTENTS_DETAIL flag)</source>
        <translation>Сделать выбранные браши деталями (флаг CONTENTS_DETAIL)</translation>
    </message>
    <message>
        <source>Make &amp;Structural</source>
        <translation>Сделать &amp;структурным</translation>
    </message>
    <message>
        <source>Make selected brushes structural (clear CONTENTS_DETAIL flag)</source>
        <translation>Сделать выбранные браши структурными (снять флаг CONTENTS_DETAIL)</translation>
    </message>
    <message>
        <source>&amp;Tie to entity</source>
        <translation>&amp;Привязать к сущности</translation>
    </message>
    <message>
        <source>&amp;Connect entities</source>
        <translation>&amp;Связать сущности</translation>
    </message>
    <message>
        <source>Make second selected entity a target of the first selected entity</source>
        <translation>Сделать вторую выбранную сущность целью первой</translation>
    </message>
    <message>
        <source>Edit e&amp;ffects...</source>
        <translation>Редактировать &amp;эффекты...</translation>
    </message>
    <message>
        <source>Texture &amp;lock (move+rotate)</source>
        <translation>&amp;Фиксация текстуры (сдвиг и поворот)</translation>
    </message>
    <message>
        <source>Texture lock (&amp;scale)</source>
        <translation>Фиксация текстуры (&amp;масштаб)</translation>
    </message>
    <message>
        <source>Texture lock (&amp;UV coordinates)</source>
        <translation>Фиксация текстуры (&amp;UV-координаты)</translation>
    </message>
    <message>
        <source>Toggle texture alignment</source>
        <translation>Выравнивание текстур</translation>
    </message>
    <message>
        <source>Transfor&amp;m...</source>
        <translation>&amp;Преобразовать...</translation>
    </message>
    <message>
        <source>No &amp;morph restrictions</source>
        <translation>Без &amp;ограничений морфинга</translation>
    </message>
    <message>
        <source>Merge c&amp;oplanar faces</source>
        <translation>Объединять &amp;компланарные грани</translation>
    </message>
    <message>
        <source>To &amp;Left</source>
        <translation>В&amp;лево</translation>
    </message>
    <message>
        <source>To &amp;Right</source>
        <translation>В&amp;право</translation>
    </message>
    <message>
        <source>To &amp;Top</source>
        <translation>В&amp;верх</translation>
    </message>
    <message>
        <source>To &amp;Bottom</source>
        <translation>В&amp;низ</translation>
    </message>
    <message>
        <source>&amp;Horizontally</source>
        <translation>По &amp;горизонтали</translation>
    </message>
    <message>
        <source>&amp;Vertically</source>
        <translation>По &amp;вертикали</translation>
    </message>
    <message>
        <source>&amp;Anti-clockwise</source>
        <translation>Против &amp;часовой</translation>
    </message>
    <message>
        <source>&amp;Clockwise</source>
        <translation>По &amp;часовой</translation>
    </message>
    <message>
        <source>Toggle C&amp;ordon Tool</source>
        <translation>&amp;Кордон</translation>
    </message>
    <message>
        <source>Don't &amp;select curves</source>
        <translation>Не &amp;выбирать кривые</translation>
    </message>
    <message>
        <source>&amp;Messages</source>
        <translation>&amp;Сообщения</translation>
    </message>
    <message>
        <source>Web &amp;Resources</source>
        <translation>&amp;Ресурсы</translation>
    </message>
    <message>
        <source>Selection Tool</source>
        <translation>Выбор</translation>
    </message>
    <message>
        <source>Magnify</source>
        <translation>Лупа</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Камера</translation>
    </message>
    <message>
        <source>Entity Tool</source>
        <translation>Сущности</translation>
    </message>
    <message>
        <source>Entity Creation Tool</source>
        <translation>Создание сущностей</translation>
    </message>
    <message>
        <source>Block Tool</source>
        <translation>Блоки</translation>
    </message>
    <message>
        <source>Block Creation Tool</source>
        <translation>Создание блоков</translation>
    </message>
    <message>
        <source>Texture Application</source>
        <translation>Наложение текстур</translation>
    </message>
    <message>
        <source>Texture Application Mode</source>
        <translation>Режим наложения текстур</translation>
    </message>
    <message>
        <source>Apply Current Texture</source>
        <translation>Наложить текущую текстуру</translation>
    </message>
    <message>
        <source>Apply Current Texture to Selection</source>
        <translation>Наложить текущую текстуру на выбранное</translation>
    </message>
    <message>
        <source>Apply Decals</source>
        <translation>Декали</translation>
    </message>
    <message>
        <source>Clipping Tool</source>
        <translation>Отсечение</translation>
    </message>
    <message>
        <source>Vertex Tool</source>
        <translation>Вершины</translation>
    </message>
    <message>
        <source>Vertex Manipulation</source>
        <translation>Правка вершин</translation>
    </message>
    <message>
        <source>Path Tool</source>
        <translation>Пути</translation>
    </message>
    <message>
        <source>Mapf&amp;ile Bar</source>
        <translation>Панель &amp;файла</translation>
    </message>
    <message>
        <source>Mapv&amp;iew Bar</source>
        <translation>Панель &amp;вида</translation>
    </message>
    <message>
        <source>Map&amp;transform Bar</source>
        <translation>Панель &amp;преобразований</translation>
    </message>
    <message>
        <source>Mapo&amp;perations Bar</source>
        <translation>Панель &amp;операций</translation>
    </message>
    <message>
        <source>Map&amp;render Bar</source>
        <translation>Панель &amp;отрисовки</translation>
    </message>
    <message>
        <source>Map&amp;tools Bar</source>
        <translation>Панель &amp;инструментов</translation>
    </message>
    <message>
        <source>&amp;Object Bar</source>
        <translation>Панель &amp;объектов</translation>
    </message>
    <message>
        <source>Te&amp;xture Bar</source>
        <translation>Панель &amp;текстур</translation>
    </message>
    <message>
        <source>&amp;Filter Control</source>
        <translation>&amp;Фильтры</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Строка состояния</translation>
    </message>
    <message>
        <source>&amp;Custom...</source>
        <translation>&amp;Своя...</translation>
    </message>
    <message>
        <source>Open "%1" in web browser</source>
        <translation>Открыть «%1» в браузере</translation>
    </message>
    <message>
        <source>&amp;Read me</source>
        <translation>&amp;Прочти меня</translation>
    </message>
    <message>
        <source>&amp;Benchmarks</source>
        <translation>&amp;Замеры</translation>
    </message>
    <message>
        <source>&amp;Fuzzing notes</source>
        <translation>&amp;Фаззинг</translation>
    </message>
    <message>
        <source>&amp;Sample game</source>
        <translation>&amp;Пример игры</translation>
    </message>
    <message>
        <source>&amp;Plugins folder</source>
        <translation>Папка &amp;модулей</translation>
    </message>
    <message>
        <source>&amp;Translations folder</source>
        <translation>Папка &amp;переводов</translation>
    </message>
    <message>
        <source>Program &amp;folder</source>
        <translation>Папка &amp;программы</translation>
    </message>
</context>
<context>
    <name>QMenu</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>E&amp;dit</source>
        <translation>&amp;Правка</translation>
    </message>
    <message>
        <source>&amp;Map</source>
        <translation>&amp;Карта</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Вид</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Инструменты</translation>
    </message>
    <message>
        <source>&amp;Curve</source>
        <translation>К&amp;ривые</translation>
    </message>
    <message>
        <source>Pl&amp;ugins</source>
        <translation>&amp;Модули</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Окно</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>Active &amp;Layout</source>
        <translation>Активная &amp;раскладка</translation>
    </message>
    <message>
        <source>&amp;Transparency</source>
        <translation>&amp;Прозрачность</translation>
    </message>
    <message>
        <source>S&amp;how Elements</source>
        <translation>Показ &amp;элементов</translation>
    </message>
    <message>
        <source>&amp;Tie to entity</source>
        <translation>&amp;Привязать к сущности</translation>
    </message>
    <message>
        <source>&amp;Align objects</source>
        <translation>&amp;Выровнять объекты</translation>
    </message>
    <message>
        <source>&amp;Flip objects</source>
        <translation>&amp;Отразить объекты</translation>
    </message>
    <message>
        <source>&amp;Rotate objects</source>
        <translation>П&amp;овернуть объекты</translation>
    </message>
    <message>
        <source>Screen &amp;Elements</source>
        <translation>&amp;Элементы экрана</translation>
    </message>
    <message>
        <source>&amp;Color Schemes</source>
        <translation>&amp;Цветовые схемы</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Язык</translation>
    </message>
    <message>
        <source>Web &amp;Resources</source>
        <translation>&amp;Ресурсы</translation>
    </message>
</context>
<context>
    <name>cMainWindow</name>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Отменить %1</translation>
    </message>
    <message>
        <source>Can't undo</source>
        <translation>Нечего отменять</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Повторить %1</translation>
    </message>
    <message>
        <source>Can't redo</source>
        <translation>Нечего повторять</translation>
    </message>
    <message>
        <source>Disabl&amp;e Undo/Redo</source>
        <translation>&amp;Выключить отмену</translation>
    </message>
    <message>
        <source>Enabl&amp;e Undo/Redo</source>
        <translation>&amp;Включить отмену</translation>
    </message>
    <message>
        <source>Snap: %1 Grid: %2</source>
        <translation>Привязка: %1 Сетка: %2</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Вкл</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Выкл</translation>
    </message>
    <message>
        <source>For Help, press F1</source>
        <translation>Для справки нажмите F1</translation>
    </message>
    <message>
        <source>Failed to read: %1
%2</source>
        <translation>Не удалось прочитать: %1
%2</translation>
    </message>
    <message>
        <source>The layout data is damaged or incomplete.</source>
        <translation>Данные раскладки повреждены или неполны.</translation>
    </message>
    <message>
        <source>You have the most recent version of %1 installed.</source>
        <translation>У вас установлена последняя версия %1.</translation>
    </message>
    <message>
        <source>More than one path selected!</source>
        <translation>Выбрано больше одного пути!</translation>
    </message>
    <message>
        <source>Create &amp;Object</source>
        <translation>Создать &amp;объект</translation>
    </message>
    <message>
        <source>Create %1</source>
        <translation>Создать %1</translation>
    </message>
    <message>
        <source>&amp;Tie to entity</source>
        <translation>&amp;Привязать к сущности</translation>
    </message>
    <message>
        <source>&amp;Tie to %1</source>
        <translation>&amp;Привязать к %1</translation>
    </message>
    <message>
        <source>Not a coordinate: &quot;%1&quot;</source>
        <translation>Не координата: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>There are no eligible selected patches.</source>
        <translation>Среди выделенного нет подходящих патчей.</translation>
    </message>
    <message>
        <source>You must select some objects before you can
transform them.</source>
        <translation>Чтобы преобразовать объекты,
сначала выделите их.</translation>
    </message>
    <message>
        <source>Command List</source>
        <translation>Список команд</translation>
    </message>
    <message>
        <source>Cannot paste %1 copies: the map has room for %2 more objects.</source>
        <translation>Нельзя вставить %1 копий: в карте есть место ещё для %2 объектов.</translation>
    </message>
</context>
<context>
    <name>QCustomAngleBox</name>
    <message>
        <source>Up</source>
        <translation>Вверх</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Вниз</translation>
    </message>
    <message>
        <source>(diff)</source>
        <translation>(разные)</translation>
    </message>
</context>
<context>
    <name>cGotoBrushDialog</name>
    <message>
        <source>Go to brush</source>
        <translation>Перейти к брашу</translation>
    </message>
    <message>
        <source>&amp;Entity #:</source>
        <translation>&amp;Объект №:</translation>
    </message>
    <message>
        <source>&amp;Brush #:</source>
        <translation>&amp;Браш №:</translation>
    </message>
    <message>
        <source>Search &amp;visible brushes only</source>
        <translation>Искать только &amp;видимые браши</translation>
    </message>
</context>
<context>
    <name>cGotoCoordsDialog</name>
    <message>
        <source>Go to coordinates</source>
        <translation>Перейти к координатам</translation>
    </message>
    <message>
        <source>&amp;Coordinates to go to (x y z), ex: 200 -4096 1154</source>
        <translation>&amp;Координаты (x y z), напр.: 200 -4096 1154</translation>
    </message>
    <message>
        <source>0 0 0</source>
        <translation>0 0 0</translation>
    </message>
</context>
<context>
    <name>cTransformDialog</name>
    <message>
        <source>Transformation</source>
        <translation>Преобразование</translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation>Режим:</translation>
    </message>
    <message>
        <source>&amp;Rotate</source>
        <translation>&amp;Повернуть</translation>
    </message>
    <message>
        <source>&amp;Scale</source>
        <translation>&amp;Масштаб</translation>
    </message>
    <message>
        <source>&amp;Move</source>
        <translation>С&amp;двинуть</translation>
    </message>
    <message>
        <source>Values:</source>
        <translation>Значения:</translation>
    </message>
    <message>
        <source>&amp;X:</source>
        <translation>&amp;X:</translation>
    </message>
    <message>
        <source>&amp;Y:</source>
        <translation>&amp;Y:</translation>
    </message>
    <message>
        <source>&amp;Z:</source>
        <translation>&amp;Z:</translation>
    </message>
</context>
<context>
    <name>cRandomPatchDialog</name>
    <message>
        <source>Randomize Matrix</source>
        <translation>Случайная матрица</translation>
    </message>
    <message>
        <source>Random Axes</source>
        <translation>Случайные оси</translation>
    </message>
    <message>
        <source>&amp;Fixed:</source>
        <translation>&amp;Заданные:</translation>
    </message>
    <message>
        <source>&amp;X</source>
        <translation>&amp;X</translation>
    </message>
    <message>
        <source>&amp;Y</source>
        <translation>&amp;Y</translation>
    </message>
    <message>
        <source>&amp;Z</source>
        <translation>&amp;Z</translation>
    </message>
    <message>
        <source>&amp;Normals</source>
        <translation>&amp;Нормали</translation>
    </message>
    <message>
        <source>Random Mode</source>
        <translation>Распределение</translation>
    </message>
    <message>
        <source>&amp;Gaussian</source>
        <translation>&amp;Гауссово</translation>
    </message>
    <message>
        <source>&amp;Uniform</source>
        <translation>&amp;Равномерное</translation>
    </message>
    <message>
        <source>Lock Control Points</source>
        <translation>Закрепить точки</translation>
    </message>
    <message>
        <source>Lock &amp;Exterior Points</source>
        <translation>Закрепить &amp;внешние точки</translation>
    </message>
    <message>
        <source>Lock &amp;Border Points</source>
        <translation>Закрепить &amp;края</translation>
    </message>
    <message>
        <source>Lock &amp;Interior Points</source>
        <translation>Закрепить в&amp;нутренние точки</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>&amp;Offset:</source>
        <translation>&amp;Смещение:</translation>
    </message>
    <message>
        <source>&amp;Round coordinates</source>
        <translation>&amp;Округлять координаты</translation>
    </message>
</context>
<context>
    <name>cScaleVertexDialog</name>
    <message>
        <source>Scale</source>
        <translation>Масштаб</translation>
    </message>
    <message>
        <source>&amp;Scale vertices:</source>
        <translation>&amp;Масштаб вершин:</translation>
    </message>
    <message>
        <source>Lock coordinates:</source>
        <translation>Закрепить координаты:</translation>
    </message>
    <message>
        <source>&amp;X</source>
        <translation>&amp;X</translation>
    </message>
    <message>
        <source>&amp;Y</source>
        <translation>&amp;Y</translation>
    </message>
    <message>
        <source>&amp;Z</source>
        <translation>&amp;Z</translation>
    </message>
</context>
<context>
    <name>cArchDialog</name>
    <message>
        <source>Arch Properties</source>
        <translation>Параметры арки</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Просмотр</translation>
    </message>
    <message>
        <source>Hide gri&amp;d</source>
        <translation>Скрыть се&amp;тку</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>Wall &amp;width:</source>
        <translation>&amp;Толщина стены:</translation>
    </message>
    <message>
        <source>Number of &amp;sides:</source>
        <translation>Число &amp;сторон:</translation>
    </message>
    <message>
        <source>&amp;Arc:</source>
        <translation>&amp;Дуга:</translation>
    </message>
    <message>
        <source>S&amp;tart angle:</source>
        <translation>&amp;Начальный угол:</translation>
    </message>
    <message>
        <source>Add &amp;height:</source>
        <translation>Добавить &amp;высоту:</translation>
    </message>
    <message>
        <source>&amp;Circle</source>
        <translation>&amp;Круг</translation>
    </message>
    <message>
        <source>&amp;Group parts</source>
        <translation>&amp;Группировать части</translation>
    </message>
    <message>
        <source>&amp;Smooth slope</source>
        <translation>&amp;Плавный подъём</translation>
    </message>
    <message>
        <source>&amp;Triangulate</source>
        <translation>Т&amp;реугольники</translation>
    </message>
    <message>
        <source>&amp;Fit selection</source>
        <translation>&amp;Вписать в выделение</translation>
    </message>
</context>
<context>
    <name>cPasteSpecialDialog</name>
    <message>
        <source>Paste Special</source>
        <translation>Специальная вставка</translation>
    </message>
    <message>
        <source>Paste Options</source>
        <translation>Параметры вставки</translation>
    </message>
    <message>
        <source>&amp;Number of copies to paste:</source>
        <translation>&amp;Число копий:</translation>
    </message>
    <message>
        <source>Start at &amp;center of original</source>
        <translation>Начать от &amp;центра оригинала</translation>
    </message>
    <message>
        <source>&amp;Keep internal connections</source>
        <translation>&amp;Сохранять внутренние связи</translation>
    </message>
    <message>
        <source>&amp;Group copies</source>
        <translation>С&amp;группировать копии</translation>
    </message>
    <message>
        <source>Offset (accumulative):</source>
        <translation>Смещение (накопительное):</translation>
    </message>
    <message>
        <source>Rotation (accumulative):</source>
        <translation>Поворот (накопительный):</translation>
    </message>
    <message>
        <source>&amp;X:</source>
        <translation>&amp;X:</translation>
    </message>
    <message>
        <source>&amp;Y:</source>
        <translation>&amp;Y:</translation>
    </message>
    <message>
        <source>&amp;Z:</source>
        <translation>&amp;Z:</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
</context>
<context>
    <name>cDefaultRoomDialog</name>
    <message>
        <source>Default Room Properties</source>
        <translation>Свойства начальной комнаты</translation>
    </message>
    <message>
        <source>Room Size</source>
        <translation>Размер комнаты</translation>
    </message>
    <message>
        <source>Textures</source>
        <translation>Текстуры</translation>
    </message>
    <message>
        <source>&amp;X:</source>
        <translation>&amp;X:</translation>
    </message>
    <message>
        <source>&amp;Y:</source>
        <translation>&amp;Y:</translation>
    </message>
    <message>
        <source>&amp;Z:</source>
        <translation>&amp;Z:</translation>
    </message>
    <message>
        <source>&amp;Wall:</source>
        <translation>&amp;Стены:</translation>
    </message>
    <message>
        <source>&amp;Ceiling:</source>
        <translation>&amp;Потолок:</translation>
    </message>
    <message>
        <source>&amp;Floor:</source>
        <translation>П&amp;ол:</translation>
    </message>
    <message>
        <source>Apply NULL to backfaces</source>
        <translation>Наложить NULL на обратные грани</translation>
    </message>
    <message>
        <source>&amp;Don't show this dialog again</source>
        <translation>&amp;Больше не показывать это окно</translation>
    </message>
    <message>
        <source>You have chosen not to display the dialog later upon creation of a new map. To invoke it again, click the &quot;New&quot; button (or a corresponding menu item) holding the SHIFT key.</source>
        <translation>Вы решили больше не показывать это окно при создании новой карты. Чтобы вызвать его снова, нажмите кнопку &quot;Создать&quot; (или соответствующий пункт меню), удерживая клавишу SHIFT.</translation>
    </message>
</context>
<context>
    <name>LOCAL</name>
    <message>
        <source>English</source>
        <translation>Русский</translation>
    </message>
</context>
<context>
    <name>cObjectPropertiesDialog</name>
    <message>
        <source>Object Properties</source>
        <translation>Свойства объекта</translation>
    </message>
    <message>
        <source>&amp;Class Info</source>
        <translation>&amp;Класс</translation>
    </message>
    <message>
        <source>&amp;Flags</source>
        <translation>&amp;Флаги</translation>
    </message>
    <message>
        <source>&amp;VisGroup</source>
        <translation>&amp;Группы</translation>
    </message>
    <message>
        <source>No properties available</source>
        <translation>Нет доступных свойств</translation>
    </message>
    <message>
        <source>Class:</source>
        <translation>Класс:</translation>
    </message>
    <message>
        <source>&amp;SmartEdit</source>
        <translation>&amp;Умная правка</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>Attributes:</source>
        <translation>Атрибуты:</translation>
    </message>
    <message>
        <source>Keyvalues:</source>
        <translation>Ключи и значения:</translation>
    </message>
    <message>
        <source>&amp;Key:</source>
        <translation>&amp;Ключ:</translation>
    </message>
    <message>
        <source>&amp;Value:</source>
        <translation>&amp;Значение:</translation>
    </message>
    <message>
        <source>&amp;add</source>
        <translation>&amp;добавить</translation>
    </message>
    <message>
        <source>&amp;delete</source>
        <translation>&amp;удалить</translation>
    </message>
    <message>
        <source>c&amp;opy</source>
        <translation>&amp;копировать</translation>
    </message>
    <message>
        <source>pas&amp;te</source>
        <translation>&amp;вставить</translation>
    </message>
    <message>
        <source>Member of group:</source>
        <translation>Входит в группу:</translation>
    </message>
    <message>
        <source>&amp;Edit groups...</source>
        <translation>&amp;Изменить группы...</translation>
    </message>
    <message>
        <source>&amp;Pick color</source>
        <translation>&amp;Выбрать цвет</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Слушать</translation>
    </message>
    <message>
        <source>&amp;Yaw</source>
        <translation>&amp;Рыскание</translation>
    </message>
</context>
<context>
    <name>cNewKeyvalueDialog</name>
    <message>
        <source>New keyvalue</source>
        <translation>Новый ключ</translation>
    </message>
</context>
<context>
    <name>cTextureFitDialog</name>
    <message>
        <source>Fit Texture</source>
        <translation>Подгонка текстуры</translation>
    </message>
    <message>
        <source>Repeat Texture</source>
        <translation>Повторить текстуру</translation>
    </message>
    <message>
        <source>&amp;Horizontally:</source>
        <translation>По &amp;горизонтали:</translation>
    </message>
    <message>
        <source>&amp;Vertically:</source>
        <translation>По &amp;вертикали:</translation>
    </message>
    <message>
        <source>&amp;Don&apos;t show this dialog again</source>
        <translation>&amp;Больше не показывать этот диалог</translation>
    </message>
    <message>
        <source>You have chosen not to display the dialog later on clicking a &quot;Fit&quot; button.
To invoke it again, click the &quot;Fit&quot; button holding the SHIFT key.</source>
        <translation>Вы решили не показывать этот диалог при нажатии кнопки &quot;Fit&quot;.
Чтобы вызвать его снова, нажмите кнопку &quot;Fit&quot;, удерживая клавишу SHIFT.</translation>
    </message>
</context>
<context>
    <name>cTextureReplaceDialog</name>
    <message>
        <source>Replace Textures</source>
        <translation>Замена текстур</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Найти</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Заменить</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Replace in</source>
        <translation>Где заменять</translation>
    </message>
    <message>
        <source>&amp;Marked Objects</source>
        <translation>&amp;Отмеченные объекты</translation>
    </message>
    <message>
        <source>&amp;Everything</source>
        <translation>&amp;Везде</translation>
    </message>
    <message>
        <source>&amp;Hidden objects too</source>
        <translation>И &amp;скрытые объекты</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Действие</translation>
    </message>
    <message>
        <source>Replace E&amp;xact Matches</source>
        <translation>Заменять &amp;точные совпадения</translation>
    </message>
    <message>
        <source>Replace &amp;Partial Matches</source>
        <translation>Заменять &amp;частичные совпадения</translation>
    </message>
    <message>
        <source>&amp;Substitute Partial Matches</source>
        <translation>&amp;Подставлять в частичные совпадения</translation>
    </message>
    <message>
        <source>Do not replace textures (&amp;mark found solids)</source>
        <translation>Не заменять текстуры (&amp;отметить найденные тела)</translation>
    </message>
    <message>
        <source>Modify texture scale by &amp;factor:</source>
        <translation>Изменить масштаб текстуры в &amp;число раз:</translation>
    </message>
    <message>
        <source>No objects marked.</source>
        <translation>Не отмечено ни одного объекта.</translation>
    </message>
    <message>
        <source>%1 objects marked.</source>
        <translation>Отмечено объектов: %1.</translation>
    </message>
    <message>
        <source>No textures replaced.</source>
        <translation>Не заменено ни одной текстуры.</translation>
    </message>
    <message>
        <source>%1 textures replaced.</source>
        <translation>Заменено текстур: %1.</translation>
    </message>
</context>
</TS>
