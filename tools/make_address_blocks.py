#!/usr/bin/env python3
"""Writes tests/parties/fixtures/address_blocks.jsonl: pasted address blocks as clerks get them
from shop order pages and chat messages, each with the fields a clerk would type on the slip.

People, streets, buildings and numbers are invented; the places are real divisions, checked
against resources/regions/divisions.tsv. Run by hand; the output is committed.

    python3 tools/make_address_blocks.py > tests/parties/fixtures/address_blocks.jsonl
"""
import json
import os
import random

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
NAMES = {}
with open(os.path.join(ROOT, 'resources/regions/divisions.tsv'), encoding='utf-8') as f:
    for line in f:
        code, name = line.rstrip('\n').split('\t')
        NAMES.setdefault(name, []).append(code)

# (province, prefecture or '' where the districts sit under the region, county or '')
PLACES = [
    ('浙江省', '杭州市', '西湖区'), ('浙江省', '宁波市', '鄞州区'), ('浙江省', '温州市', '乐清市'),
    ('浙江省', '金华市', '义乌市'), ('江苏省', '南京市', '玄武区'), ('江苏省', '苏州市', '昆山市'),
    ('江苏省', '无锡市', '江阴市'), ('广东省', '深圳市', '南山区'), ('广东省', '广州市', '天河区'),
    ('广东省', '佛山市', '顺德区'), ('广东省', '东莞市', '虎门镇'), ('山东省', '青岛市', '市南区'),
    ('山东省', '济南市', '历下区'), ('山东省', '烟台市', '芝罘区'), ('河南省', '郑州市', '金水区'),
    ('河北省', '石家庄市', '长安区'), ('河北省', '保定市', '涿州市'), ('湖北省', '武汉市', '洪山区'),
    ('湖北省', '宜昌市', '夷陵区'), ('湖南省', '长沙市', '岳麓区'), ('湖南省', '湘西土家族苗族自治州', '吉首市'),
    ('四川省', '成都市', '武侯区'), ('四川省', '绵阳市', '涪城区'), ('福建省', '厦门市', '思明区'),
    ('福建省', '福州市', '鼓楼区'), ('安徽省', '合肥市', '蜀山区'), ('江西省', '南昌市', '东湖区'),
    ('辽宁省', '大连市', '中山区'), ('辽宁省', '沈阳市', '和平区'), ('吉林省', '长春市', '朝阳区'),
    ('吉林省', '延边朝鲜族自治州', '延吉市'), ('黑龙江省', '哈尔滨市', '南岗区'), ('陕西省', '西安市', '雁塔区'),
    ('山西省', '太原市', '小店区'), ('云南省', '昆明市', '五华区'), ('云南省', '大理白族自治州', '大理市'),
    ('贵州省', '贵阳市', '南明区'), ('甘肃省', '兰州市', '城关区'), ('海南省', '海口市', '龙华区'),
    ('青海省', '西宁市', '城西区'), ('广西壮族自治区', '南宁市', '青秀区'), ('广西壮族自治区', '桂林市', '阳朔县'),
    ('内蒙古自治区', '呼和浩特市', '赛罕区'), ('内蒙古自治区', '锡林郭勒盟', '锡林浩特市'),
    ('新疆维吾尔自治区', '乌鲁木齐市', '天山区'), ('宁夏回族自治区', '银川市', '兴庆区'),
    ('西藏自治区', '拉萨市', '城关区'), ('北京市', '', '海淀区'), ('北京市', '', '朝阳区'),
    ('上海市', '', '浦东新区'), ('上海市', '', '徐汇区'), ('天津市', '', '南开区'), ('重庆市', '', '渝北区'),
    ('重庆市', '', '巫山县'), ('香港特别行政区', '', '油尖旺区'), ('澳门特别行政区', '', '花地玛堂区'),
    ('湖北省', '', '仙桃市'), ('浙江省', '湖州市', '长兴县'), ('江苏省', '徐州市', '沛县'),
]
CITY_REGIONS = {'北京市', '上海市', '天津市', '重庆市', '香港特别行政区', '澳门特别行政区'}
for p, c, t in PLACES:
    for n in (p, c, t):
        assert not n or n in NAMES, n

SURNAMES = '王李张刘陈杨黄赵周吴徐孙朱马胡郭林何高梁郑罗宋谢唐韩曹许邓冯曾程蔡彭潘袁于董余苏叶吕魏蒋田杜丁沈姜范钟汪任陆姚金邱夏谭贾邹石熊孟秦薛侯雷白龙段郝孔邵毛常万顾武康贺严钱施洪龚'
GIVEN = '伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉兰萍红鹏辉建文斌宇浩凯晨欣怡佳琪子涵梓轩思远博雅婷雨萱一诺俊熙'
ROADS = ['文晖', '兴业', '华新', '光明', '建设', '和平', '安康', '福源', '春晖', '青松', '云栖', '滨盛',
         '望江', '东环', '学苑', '科兴', '育才', '金桥', '银杏', '丰泽', '长盛', '锦绣', '启明', '振兴',
         '翠柳', '明珠', '星河', '嘉禾', '瑞丰', '枫林']
ROAD_KINDS = ['路', '街', '大道', '中路', '北路', '东路']
BUILDINGS = ['岚星大厦', '汇通商务楼', '嘉和花园', '金川苑', '锦华公寓', '新元广场', '博雅小区',
             '科创园', '云台公寓', '和鸣大厦']
TOWNS = ['龙溪街道', '新桥镇', '城南街道', '柳湾镇', '东岗街道']
COMPANIES = ['岚砚商贸有限公司', '启明电子科技有限公司', '瑞丰五金经销部', '青松文化传媒有限公司',
             '嘉禾食品有限公司', '星河建材有限公司']
REMARKS = ['请工作日送货', '放门卫室', '送货前电话联系', '周末不在家']

rnd = random.Random(20261211)


def name():
    return rnd.choice(SURNAMES) + ''.join(rnd.choice(GIVEN) for _ in range(rnd.choice([1, 2, 2])))


def street(spaced=False):
    s = ''
    if rnd.random() < 0.2:
        s += rnd.choice(TOWNS)
    s += rnd.choice(ROADS) + rnd.choice(ROAD_KINDS) + str(rnd.randint(1, 999)) + '号'
    if rnd.random() < 0.6:
        b = rnd.choice(BUILDINGS)
        unit = rnd.choice([f'{rnd.randint(1, 30)}栋{rnd.randint(1, 6)}单元{rnd.randint(101, 2808)}室',
                           f'{rnd.randint(1, 28)}楼', f'{rnd.choice("ABCD")}座{rnd.randint(101, 2808)}室',
                           f'{rnd.randint(1, 30)}号楼{rnd.randint(101, 2808)}'])
        s += (' ' if spaced else '') + b + unit
    return s


def mobile():
    digits = rnd.choice(['13', '15', '18', '17', '19']) + str(rnd.randint(0, 9)) + \
        ''.join(str(rnd.randint(0, 9)) for _ in range(8))
    forms = [digits, digits, digits, f'{digits[:3]} {digits[3:7]} {digits[7:]}',
             f'{digits[:3]}-{digits[3:7]}-{digits[7:]}', f'+86 {digits[:3]} {digits[3:7]} {digits[7:]}',
             f'86-{digits}', f'+86{digits}']
    return rnd.choice(forms), digits


AREA = {'北京市': '010', '上海市': '021', '天津市': '022', '重庆市': '023', '广东省': '0755',
        '浙江省': '0571', '江苏省': '025', '四川省': '028', '湖北省': '027', '山东省': '0532'}


def phone(province):
    area = AREA.get(province, '0' + str(rnd.randint(310, 999)))
    number = str(rnd.randint(2, 8)) + ''.join(str(rnd.randint(0, 9)) for _ in range(7 if len(area) <= 3 else rnd.choice([6, 7])))
    form = rnd.choice(['{a}-{n}', '{a}-{n}', '{a}-{n}-{e}', '({a}){n}', '{a}-{n}转{e}'])
    return form.format(a=area, n=number, e=rnd.randint(1, 9999))


def zipcode():
    return str(rnd.randint(100000, 860000))


def short(n):
    for suffix in ['壮族自治区', '回族自治区', '维吾尔自治区', '自治区', '特别行政区', '省', '市']:
        if n.endswith(suffix):
            return n[:-len(suffix)]
    return n


def region_text(p, c, t, sep='', shorten=False, with_province=True):
    parts = []
    if with_province:
        parts.append(short(p) if shorten else p)
    if c:
        parts.append(short(c) if shorten and c.endswith('市') else c)
    if t:
        parts.append(t)
    return sep.join(parts)


def expected(p, c, t, addr, contact, ph='', hs='', z='', company=''):
    city = p if p in CITY_REGIONS else (c or t)
    town = t if (c or p in CITY_REGIONS) else ''
    return dict(company=company, contact=contact, phone=ph, handset=hs, province=p, city=city,
                town=town, address=' '.join(addr.split()), zipcode=z)


def block(kind):
    p, c, t = rnd.choice(PLACES)
    n = name()
    m, digits = mobile()
    st = street(spaced=rnd.random() < 0.3)
    z = zipcode() if rnd.random() < 0.6 else ''
    if kind == 'comma':
        ph = phone(p) if rnd.random() < 0.4 else ''
        parts = [n, m] + ([ph] if ph else []) + [region_text(p, c, t, ' ') + ' ' + st] + ([z] if z else [])
        return '，'.join(parts), expected(p, c, t, st, n, ph, digits, z)
    if kind == 'labelled':
        text = f'收货人：{n}\n手机：{m}\n地址：{region_text(p, c, t)}{st}'
        if z:
            text += f'\n邮编：{z}'
        return text, expected(p, c, t, st, n, '', digits, z)
    if kind == 'shop':
        gender = rnd.choice(['', '', '(女士)', '(先生)'])
        text = f'收件人: {n}{gender}\n手机号码: {m}\n所在地区: {region_text(p, c, t, " ")}\n详细地址: {st}'
        return text, expected(p, c, t, st, n, '', digits)
    if kind == 'spaced':
        text = f'{n} {m} {region_text(p, c, t)}{st}' + (f' {z}' if z else '')
        return text, expected(p, c, t, st, n, '', digits, z)
    if kind == 'address_first':
        text = f'{region_text(p, c, t)}{st}，{n}，{m}'
        return text, expected(p, c, t, st, n, '', digits)
    if kind == 'form':
        co = rnd.choice(COMPANIES)
        ph = phone(p)
        text = (f'公司:{co}\n姓名:{n}\n电话:{ph}\n手机:{m}\n省:{short(p)}\n市:{c or p}\n'
                f'地址:{t}{st}' + (f'\n邮编:{z}' if z else ''))
        return text, expected(p, c, t, st, n, ph, digits, z, co)
    if kind == 'brackets':
        # No province: the city tells it.
        if not c:
            return block('spaced')
        text = f'【收货人】{n}【手机】{m}【地址】{region_text(p, c, t, with_province=False)}{st}'
        return text, expected(p, c, t, st, n, '', digits)
    if kind == 'paipai':
        text = f'收货人:{n} {m} {region_text(p, c, t)} {st} (邮编:{z or "100000"})'
        return text, expected(p, c, t, st, n, '', digits, z or '100000')
    if kind == 'short':
        ph = phone(p) if rnd.random() < 0.5 else ''
        text = f'{n}，{region_text(p, c, t, " ", shorten=True)} {st}，{m}' + (f'，{ph}' if ph else '')
        return text, expected(p, c, t, st, n, ph, digits)
    if kind == 'remark':
        text = f'{n}，{m}，{region_text(p, c, t)}{st}，备注：{rnd.choice(REMARKS)}'
        return text, expected(p, c, t, st, n, '', digits)
    if kind == 'zip_label':
        zz = zipcode()
        text = f'联系人：{n} 手机：{m}\n地址：{region_text(p, c, t)}{st}邮编{zz}'
        return text, expected(p, c, t, st, n, '', digits, zz)
    if kind == 'county_only':
        # Only the county (unique in the country) and the street.
        if not c or len(NAMES[t]) > 1:
            return block('labelled')
        text = f'{n} {m}\n{t}{st}'
        return text, expected(p, c, t, st, n, '', digits)
    if kind == 'company_line':
        co = rnd.choice(COMPANIES)
        ph = phone(p)
        text = f'{co}\n{n} {ph} {m}\n{region_text(p, c, t)}{st}'
        return text, expected(p, c, t, st, n, ph, digits, '', co)
    raise ValueError(kind)


# Typed by hand after blocks clerks brought: the misses they met and layouts the generator lacks.
# (text, company, contact, phone, handset, province, city, town, address, zipcode)
HAND = [
    ('收货人：陈晓东\n手机：138-0013-5678\n地址：福建省厦门市思明区龙溪街道湖滨南路88号',
     '', '陈晓东', '', '13800135678', '福建省', '厦门市', '思明区', '龙溪街道湖滨南路88号', ''),
    ('+86 138 2222 3333 刘芸 上海市浦东新区张杨路500号华润时代广场20楼邮编200122',
     '', '刘芸', '', '13822223333', '上海市', '上海市', '浦东新区', '张杨路500号华润时代广场20楼', '200122'),
    ('【包邮】收货人：黎明\n【地址】湖南省长沙市岳麓区麓山南路932号\n电话：0731-88876543',
     '', '黎明', '0731-88876543', '', '湖南省', '长沙市', '岳麓区', '麓山南路932号', ''),
    ('山东省 青岛市 市南区 香港中路10号颐和国际A座1801 孙婷 15063001234',
     '', '孙婷', '', '15063001234', '山东省', '青岛市', '市南区', '香港中路10号颐和国际A座1801', ''),
    ('南京市鼓楼区汉中路2号 王建国 13915001234',
     '', '王建国', '', '13915001234', '江苏省', '南京市', '鼓楼区', '汉中路2号', ''),
    ('杭州市滨江区网商路699号，丁一（女士），18967001234',
     '', '丁一', '', '18967001234', '浙江省', '杭州市', '滨江区', '网商路699号', ''),
    ('昆山市玉山镇人民路1号 钱进 13771001234',
     '', '钱进', '', '13771001234', '江苏省', '苏州市', '昆山市', '玉山镇人民路1号', ''),
    ('收件人：马丽娜\n电话：0571-86001234-8006\n手机：+86-13600001234\n地址：浙江省杭州市拱墅区莫干山路100号耀江国际大厦 15楼',
     '', '马丽娜', '0571-86001234-8006', '13600001234', '浙江省', '杭州市', '拱墅区', '莫干山路100号耀江国际大厦 15楼', ''),
    ('广西 南宁 青秀区 民族大道100号 韦小宝 13977001234',
     '', '韦小宝', '', '13977001234', '广西壮族自治区', '南宁市', '青秀区', '民族大道100号', ''),
    ('新疆乌鲁木齐市沙依巴克区友好南路668号 阿依古丽 13899001234',
     '', '阿依古丽', '', '13899001234', '新疆维吾尔自治区', '乌鲁木齐市', '沙依巴克区', '友好南路668号', ''),
    ('内蒙古包头市昆都仑区钢铁大街55号，张海，13304721234，014010',
     '', '张海', '', '13304721234', '内蒙古自治区', '包头市', '昆都仑区', '钢铁大街55号', '014010'),
    ('重庆 渝中区 解放碑邹容路68号 大都会广场 罗敏 13608301234',
     '', '罗敏', '', '13608301234', '重庆市', '重庆市', '渝中区', '解放碑邹容路68号 大都会广场', ''),
    ('北京市朝阳区 建国门外大街1号国贸大厦A座 3层 赵宏 010-65051234',
     '', '赵宏', '010-65051234', '', '北京市', '北京市', '朝阳区', '建国门外大街1号国贸大厦A座 3层', ''),
    ('澳门 花地玛堂区 黑沙环新街52号 陈家豪 853-28501234',
     '', '陈家豪', '853-28501234', '', '澳门特别行政区', '澳门特别行政区', '花地玛堂区', '黑沙环新街52号', ''),
    ('香港九龙油尖旺区弥敦道132号美丽华大厦5楼 李嘉欣 852-23681234',
     '', '李嘉欣', '852-23681234', '', '香港特别行政区', '香港特别行政区', '油尖旺区', '弥敦道132号美丽华大厦5楼', ''),
    ('收货人:林志强，手机号码:13512345678，所在地区:广东省 佛山市 顺德区，详细地址:大良街道德和路8号 ，邮编:528300',
     '', '林志强', '', '13512345678', '广东省', '佛山市', '顺德区', '大良街道德和路8号', '528300'),
    ('王女士 13700001234 浙江省温州市乐清市柳市镇长虹路1号',
     '', '王女士', '', '13700001234', '浙江省', '温州市', '乐清市', '柳市镇长虹路1号', ''),
    ('四川省成都市武侯区人民南路四段1号 华西小区3栋 李明 028-85501234 13880001234',
     '', '李明', '028-85501234', '13880001234', '四川省', '成都市', '武侯区', '人民南路四段1号 华西小区3栋', ''),
    ('收货人: 欧阳娜娜\n联系电话: 159 0101 2345\n收货地址: 湖北省 武汉市 洪山区 珞喻路1037号 邮编: 430074',
     '', '欧阳娜娜', '', '15901012345', '湖北省', '武汉市', '洪山区', '珞喻路1037号', '430074'),
    ('河北省保定市涿州市范阳东路12号 周鹏 13833121234 备注：下午送',
     '', '周鹏', '', '13833121234', '河北省', '保定市', '涿州市', '范阳东路12号', ''),
    ('甘肃省兰州市城关区东岗西路199号 13893101234 马晓燕',
     '', '马晓燕', '', '13893101234', '甘肃省', '兰州市', '城关区', '东岗西路199号', ''),
    ('吉林省延边朝鲜族自治州延吉市光明街1号 朴明哲 13904331234',
     '', '朴明哲', '', '13904331234', '吉林省', '延边朝鲜族自治州', '延吉市', '光明街1号', ''),
    ('姓名：郭靖 电话：0532-85901234转601 地址：山东省青岛市崂山区海尔路1号 邮编：266100',
     '', '郭靖', '0532-85901234转601', '', '山东省', '青岛市', '崂山区', '海尔路1号', '266100'),
    ('陕西省西安市雁塔区科技路48号 创业广场B座1101室 何欣 029-88321234-12 邮编710065',
     '', '何欣', '029-88321234-12', '', '陕西省', '西安市', '雁塔区', '科技路48号 创业广场B座1101室', '710065'),
    ('天津 和平区 南京路219号 天津中心 6楼 董芳 13602001234',
     '', '董芳', '', '13602001234', '天津市', '天津市', '和平区', '南京路219号 天津中心 6楼', ''),
    ('江苏省徐州市沛县汉城路5号 刘邦 13952001234',
     '', '刘邦', '', '13952001234', '江苏省', '徐州市', '沛县', '汉城路5号', ''),
    ('广东东莞长安镇霄边大道12号 梁静 13500001234',
     '', '梁静', '', '13500001234', '广东省', '东莞市', '长安镇', '霄边大道12号', ''),
    ('宁夏银川市兴庆区解放东街100号 马强 0951-6021234',
     '', '马强', '0951-6021234', '', '宁夏回族自治区', '银川市', '兴庆区', '解放东街100号', ''),
    ('海南省三亚市吉阳区迎宾路88号 吴海燕 13807001234',
     '', '吴海燕', '', '13807001234', '海南省', '三亚市', '吉阳区', '迎宾路88号', ''),
    ('上海上海市闵行区莘庄镇莘松路100号，孙悦，13916001234',
     '', '孙悦', '', '13916001234', '上海市', '上海市', '闵行区', '莘庄镇莘松路100号', ''),
    ('收货信息：周小川，13800001111，浙江省 杭州市 余杭区 五常街道 文一西路969号，311121',
     '', '周小川', '', '13800001111', '浙江省', '杭州市', '余杭区', '五常街道 文一西路969号', '311121'),
    ('公司：杭州岚峰贸易有限公司 联系人：沈涛 手机：13588001234 地址：浙江省杭州市上城区解放路1号',
     '杭州岚峰贸易有限公司', '沈涛', '', '13588001234', '浙江省', '杭州市', '上城区', '解放路1号', ''),
    ('张三丰\n13800138000\n湖北省十堰市丹江口市武当山特区太极路1号',
     '', '张三丰', '', '13800138000', '湖北省', '十堰市', '丹江口市', '武当山特区太极路1号', ''),
    ('黑龙江省哈尔滨市道里区中央大街100号 13945556666 李雪',
     '', '李雪', '', '13945556666', '黑龙江省', '哈尔滨市', '道里区', '中央大街100号', ''),
    ('收货人：韩冰(女士)，86-13011112222，江西省 南昌市 东湖区 八一大道266号 ，330006',
     '', '韩冰', '', '13011112222', '江西省', '南昌市', '东湖区', '八一大道266号', '330006'),
]
FIELDS = ['company', 'contact', 'phone', 'handset', 'province', 'city', 'town', 'address', 'zipcode']
for row in HAND:
    assert all(n in NAMES for n in row[5:8] if n), row

KINDS = ['comma', 'labelled', 'shop', 'spaced', 'address_first', 'form', 'brackets', 'paipai',
         'short', 'remark', 'zip_label', 'county_only', 'company_line']
for i in range(150):
    text, fields = block(KINDS[i % len(KINDS)])
    print(json.dumps(dict(text=text, **fields), ensure_ascii=False))
for text, *values in HAND:
    print(json.dumps(dict(text=text, **dict(zip(FIELDS, values))), ensure_ascii=False))
